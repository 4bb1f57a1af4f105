// How Paint grows with the characters, against the floor of the raster engine: the same glyphs
// drawn with one text call per line, and the copy of a finished bitmap onto a screen.
#include "bench/Compositions.h"

#include "toolkit/CodePage.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t kSide = 999;

void BM_PaintScaling(benchmark::State& state) {
  const int chars = static_cast<int>(state.range(0));
  auto zelto = MakeMixedComposition(chars, kSide, kSide);
  Composition = zelto.get();
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  for (auto _ : state) {
    TCanvas canvas(&screen);
    zelto->Paint(canvas);
  }
  state.counters["per_char_ns"] =
      benchmark::Counter(chars, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  Composition = nullptr;
}
BENCHMARK(BM_PaintScaling)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
// the very same pixels; `same_pixels` confirms it for the composition measured.
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
  state.counters["per_char_ns"] =
      benchmark::Counter(chars, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
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
