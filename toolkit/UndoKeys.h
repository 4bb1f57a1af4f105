#pragma once
// The undo and redo keys of a window.
#include <functional>

class QWidget;

// Ctrl+Z in `window`, whatever control has the focus, runs `undo`; Ctrl+Shift+Z and Ctrl+Y run
// `redo`. They take the place of what the control would do with these keys itself (a text
// field's own undo), so that the program has one history.
void MakeUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo);
