#pragma once
// The plain way to paint text: one QPainter text call for each string, measured by
// QFontMetrics. What the raster engine paints is checked against it, pixel for pixel.
#include "toolkit/CodePage.h"
#include "toolkit/TextEngine.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>

class ReferenceTextEngine final : public TTextEngine {
 public:
  int32_t TextWidth(const TFont& font, std::string_view bytes) override {
    return QFontMetrics(font.ToQFont()).horizontalAdvance(TCodePage::System().ToUnicode(bytes));
  }

  int32_t TextHeight(const TFont& font, std::string_view) override { return QFontMetrics(font.ToQFont()).height(); }

  void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    // Qt places glyphs in 26.6 fixed point; a cell this far out lies off every device anyway.
    constexpr int32_t kFarOut = 1 << 24;
    if (std::abs(int64_t(x)) > kFarOut || std::abs(int64_t(y)) > kFarOut) return;
    const QFont qfont = font.ToQFont();
    painter.setFont(qfont);
    painter.setPen(ToQColor(font.Color));
    painter.drawText(QPointF(x, y + QFontMetrics(qfont).ascent()), TCodePage::System().ToUnicode(bytes));
  }
};
