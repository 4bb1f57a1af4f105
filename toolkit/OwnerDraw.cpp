#include "toolkit/OwnerDraw.h"

#include <QPainter>
#include <QPen>

#include <array>

namespace {
// The check mark, 7 × 7 pixels, row by row; bit 6 is the leftmost pixel.
constexpr std::array<uint8_t, 7> kCheckMark = {0x01, 0x03, 0x47, 0x6E, 0x7C, 0x38, 0x10};
}  // namespace

void DrawCheckBox(QPainter& canvas, int32_t x, int32_t y, bool checked, bool inactive) {
  canvas.fillRect(x, y, kCheckBoxSize, kCheckBoxSize, QColor(128, 128, 128));
  canvas.fillRect(x + 1, y + 1, kCheckBoxSize - 2, kCheckBoxSize - 2,
                  inactive ? QColor(192, 192, 192) : QColor(255, 255, 255));
  if (!checked) return;
  const QColor mark = inactive ? QColor(128, 128, 128) : QColor(0, 0, 0);
  const int32_t left = x + (kCheckBoxSize - 7) / 2;
  const int32_t top = y + (kCheckBoxSize - 7) / 2;
  for (int32_t row = 0; row < 7; ++row)
    for (int32_t col = 0; col < 7; ++col)
      if (kCheckMark[row] & (0x40 >> col)) canvas.fillRect(left + col, top + row, 1, 1, mark);
}

void DrawFocusRect(QPainter& canvas, const QRect& rect, const QColor& color) {
  QPen dots(color, 1, Qt::CustomDashLine);
  dots.setDashPattern({1, 1});
  dots.setCosmetic(true);
  canvas.setClipping(false);
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setPen(dots);
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(rect.adjusted(0, 0, -1, -1));
}
