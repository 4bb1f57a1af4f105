#pragma once
// Placing a window by its outer rectangle, frame included.
#include <QRect>

class QWidget;

// Moves and sizes the top-level `window` so that its frame covers `outer`, as far as the
// platform tells the frame before the window is first shown. Where nothing draws a frame (no
// window manager, as under Xvfb) the outer rectangle is the window's client area; a window
// manager that reports its frame only after showing adds it around the client area.
void SetOuterBounds(QWidget* window, const QRect& outer);
