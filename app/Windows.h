#pragma once
// The windows, built as a module of their own (ZeltoZelto-windows.so) that the program loads only
// to show them: started for pictures alone, it loads neither them nor Qt Widgets, whose 27,000
// relocations are a third of all the libraries' and took some 4 ms of a 55 ms start. The module
// lies beside the program in the build tree, and in the program's library folder once installed.

// The module's one entry, found by this name: starts the main window, then the layer panel beside
// it, until the main window closes, with `argc` and `argv` as main() has them; returns the exit
// code. A document that the command line names is opened, and a recovery copy that a program
// killed or crashed left behind is offered.
extern "C" int ZeltoZeltoWindows(int argc, char** argv);
using TWindowsEntry = decltype(&ZeltoZeltoWindows);
inline constexpr char kWindowsEntry[] = "ZeltoZeltoWindows";
