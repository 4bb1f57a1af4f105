#pragma once
// What the platform draws for owner-drawn rows: the flat check box and the focus rectangle.
// Drawn here pixel by pixel, since Qt's styles draw both differently on every desktop.
#include <QColor>
#include <QRect>

#include <cstdint>

class QPainter;

// The side of the flat check box, frame included.
constexpr int32_t kCheckBoxSize = 14;

// A flat check box with its top-left corner at (x, y): a grey one-pixel frame around a white
// square, with a black check mark when checked; grey inside and out while inactive (held down).
void DrawCheckBox(QPainter& canvas, int32_t x, int32_t y, bool checked, bool inactive);

// The focus rectangle: a dotted outline along the inside of `rect`, every other pixel, in
// `color`. It leaves the painter's pen, brush and clipping changed.
void DrawFocusRect(QPainter& canvas, const QRect& rect, const QColor& color);
