#include "toolkit/WindowBounds.h"

#include <QWidget>
#include <QWindow>

void SetOuterBounds(QWidget* window, const QRect& outer) {
  window->winId();  // makes the platform window, which knows its frame
  const QMargins frame = window->windowHandle()->frameMargins();
  window->move(outer.topLeft());
  window->resize(outer.width() - frame.left() - frame.right(), outer.height() - frame.top() - frame.bottom());
}
