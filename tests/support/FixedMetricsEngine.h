#pragma once
// A text engine with fixed, known metrics that records what is drawn, so that layout can be
// checked to the pixel without real fonts.
#include "toolkit/CodePage.h"
#include "toolkit/TextEngine.h"

#include <QPainter>

#include <map>
#include <string>
#include <vector>

class FixedMetricsEngine final : public TTextEngine {
 public:
  struct Output {
    int32_t x, y;
    std::string bytes;
    TFont font;
    bool operator==(const Output&) const = default;
  };

  // Widths of single characters at 10 points; other sizes scale them. A character of one byte
  // not in the table is 10 wide, one of several bytes 16 wide.
  std::map<std::string, int32_t> widths{{"A", 8}, {"B", 7}, {"E", 9}};
  int32_t height = 12;  // at 10 points, for every string
  std::vector<Output> outputs;

  int32_t TextWidth(const TFont& font, std::string_view bytes) override {
    int32_t total = 0;
    const TCodePage& codePage = TCodePage::System();
    for (std::size_t pos = 0; pos < bytes.size();) {
      std::size_t n = codePage.CharLength(bytes, pos);
      if (n == 0) n = bytes.size() - pos;
      total += CharWidth(bytes.substr(pos, n));
      pos += n;
    }
    return total * font.Size / 10;
  }

  int32_t TextHeight(const TFont& font, std::string_view) override { return height * font.Size / 10; }

  // Records the output and paints its cell in the font's colour, so that pixels show it too.
  void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font, std::string_view bytes) override {
    outputs.push_back({x, y, std::string(bytes), font});
    const QRectF cell(x, y, TextWidth(font, bytes), TextHeight(font, bytes));
    if (cell.intersects(QRectF(0, 0, painter.device()->width(), painter.device()->height())))
      painter.fillRect(cell, ToQColor(font.Color));
  }

 private:
  int32_t CharWidth(std::string_view ch) const {
    const auto it = widths.find(std::string(ch));
    if (it != widths.end()) return it->second;
    return ch.size() == 1 ? 10 : 16;
  }
};
