// How Paint grows with the characters, against the floor of the raster engine: the same glyphs
// drawn with one text call per line, and the copy of a finished bitmap onto a screen.
#include "bench/Compositions.h"
#include "bench/PerChar.h"

#include "toolkit/CodePage.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t kSide = 999;

// Growth is measured with character and line spans; without them (second argument 0) the
// composition is the floor's below, for the ratio of the two.
void BM_PaintScaling(benchmark::State& state) {
  const int chars = static_cast<int>(state.range(0));
  auto zelto = MakeMixedComposition(chars, kSide, kSide, state.range(1) != 0);
  Composition = zelto.get();
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  for (auto _ : state) {
    TCanvas canvas(&screen);
    zelto->Paint(canvas);
  }
  state.counters["per_char_ns"] = NanosecondsPerChar(chars);
  Composition = nullptr;
}
BENCHMARK(BM_PaintScaling)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// A layer's lines as the floor draws them: each line once, at the layer's line pitch.
struct FloorLine {
  QFont font;
  QColor color;
  QPointF baseline;
  QString text;
};

std::vector<FloorLine> FloorLines(TZeltoZelto& zelto) {
  std::vector<FloorLine> lines;
  for (int32_t i = zelto.LayerCount() - 1; i >= 0; --i) {
    const TZeltoLayer& layer = zelto.GetLayer(i);
    const TFont& font = layer.UseDefaultFont ? zelto.DefaultFont() : layer.Font;
    const QFont qfont = font.ToQFont();
    const QFontMetrics metrics(qfont);
    double y = layer.Top;
    std::string_view text = layer.Text;
    while (!text.empty()) {
      const std::size_t marker = text.find(kLineBreakMarker);
      const std::string_view line = text.substr(0, marker);
      lines.push_back({qfont, ToQColor(font.Color), QPointF(layer.Left, y + metrics.ascent()),
                       TCodePage::System().ToUnicode(line)});
      y += metrics.height() + layer.LineSpan;
      text = marker == std::string_view::npos ? std::string_view() : text.substr(marker + 2);
    }
  }
  return lines;
}

void PaintFloor(const std::vector<FloorLine>& lines, QImage& bitmap, QImage& screen) {
  {
    QPainter painter(&bitmap);
    painter.fillRect(bitmap.rect(), Qt::white);
    for (const FloorLine& line : lines) {
      painter.setFont(line.font);
      painter.setPen(line.color);
      painter.drawText(line.baseline, line.text);
    }
  }
  QPainter(&screen).drawImage(0, 0, bitmap);
}

// The floor draws the composition without character spans, where the per-character rule gives
// the very same pixels; `same_pixels` confirms it for this very composition, which Paint also
// draws in BM_PaintScaling/10000/0.
void BM_FloorOneCallPerLine(benchmark::State& state) {
  const int chars = static_cast<int>(state.range(0));
  auto zelto = MakeMixedComposition(chars, kSide, kSide, false);
  Composition = zelto.get();
  const std::vector<FloorLine> lines = FloorLines(*zelto);
  QImage bitmap(kSide, kSide, QImage::Format_RGB32);
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  QImage ours(kSide, kSide, QImage::Format_RGB32);
  TCanvas canvas(&ours);
  zelto->Paint(canvas);
  canvas.Release();
  PaintFloor(lines, bitmap, screen);
  state.counters["same_pixels"] = ours == screen ? 1 : 0;
  for (auto _ : state) PaintFloor(lines, bitmap, screen);
  state.counters["per_char_ns"] = NanosecondsPerChar(chars);
  Composition = nullptr;
}
BENCHMARK(BM_FloorOneCallPerLine)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The block copy of a finished canvas onto the screen, alone.
void BM_CopyToPaintArea(benchmark::State& state) {
  TBitmap bitmap(TPixelFormat::pf32bit);
  bitmap.SetSize(kSide, kSide);
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  for (auto _ : state) {
    TCanvas canvas(&screen);
    canvas.Draw(0, 0, bitmap.Image());
  }
}
BENCHMARK(BM_CopyToPaintArea)->Unit(benchmark::kMillisecond);

}  // namespace
