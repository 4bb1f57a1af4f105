// Asks the top-level window of the given title to close, as a window manager's close box does:
// the WM_DELETE_WINDOW message of the window manager protocols. Under a window manager the
// program's windows are children of the manager's frames, so the whole tree is searched.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {
// Windows come and go while the program starts (Qt makes helper windows of its own); one that
// is gone between listing and asking for its name is skipped.
int IgnoreError(Display*, XErrorEvent*) { return 0; }
}  // namespace

// Sends WM_DELETE_WINDOW to every window below `parent` titled `title`; returns how many.
int AskToClose(Display* display, Window parent, const char* title) {
  Window root = 0, grandparent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) return 0;
  int sent = 0;
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (std::strcmp(name, title) == 0) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, children[i], False, NoEventMask, &event);
        ++sent;
      }
      XFree(name);
    } else {
      sent += AskToClose(display, children[i], title);
    }
  }
  if (children) XFree(children);
  return sent;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s TITLE\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreError);
  const int sent = AskToClose(display, DefaultRootWindow(display), argv[1]);
  XCloseDisplay(display);
  if (sent == 0) std::fprintf(stderr, "no window titled %s\n", argv[1]);
  return sent == 1 ? 0 : 1;
}
