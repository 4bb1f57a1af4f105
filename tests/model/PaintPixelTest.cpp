// The composition painted by Qt's raster engine, checked on pixels.
#include "model/Zelto.h"

#include "tests/support/ScopedCodePage.h"

#include <QGuiApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

class PaintPixelTest : public ::testing::Test {
 protected:
  PaintPixelTest() : codePage("UTF-8"), zelto(120, 80) {
    Composition = &zelto;
    // The screen is larger than the canvas and black, so that the copy's extent shows.
    screen.SetSize(160, 100);
    screen.Canvas().Brush.Color = clBlack;
    screen.Canvas().FillRect({0, 0, 160, 100});
  }
  ~PaintPixelTest() override { Composition = nullptr; }

  QImage Paint() {
    zelto.Paint(screen.Canvas());
    return screen.Image().convertToFormat(QImage::Format_RGB32);
  }

  TZeltoLayer& AddOwnFont(std::string_view text, TColor color, int size = 20) {
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(text));
    layer.UseDefaultFont = false;
    layer.Font.Size = size;
    layer.Font.Color = color;
    return layer;
  }

  ScopedCodePage codePage;
  TZeltoZelto zelto;
  TBitmap screen;
};

template <typename Pred>
int CountPixels(const QImage& image, const QRect& area, Pred pred) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += pred(image.pixel(x, y), x, y) ? 1 : 0;
  return count;
}

TEST_F(PaintPixelTest, EmptyCompositionPaintsAWhiteCanvasOnly) {
  const QImage image = Paint();
  EXPECT_EQ(CountPixels(image, image.rect(), [](QRgb c, int x, int y) {
              const bool inCanvas = x < 120 && y < 80;
              return c != (inCanvas ? kWhite : kBlack);
            }),
            0);
}

TEST_F(PaintPixelTest, RedLayerPaintsRedInsideItsBlockOnly) {
  TZeltoLayer& layer = AddOwnFont("Hg\r\nWM", clRed);
  layer.CharSpan = 3;
  layer.AlignToAnchor(4);
  const QImage image = Paint();
  const QRect block(layer.Left, layer.Top, layer.BlockWidth, layer.BlockHeight);
  ASSERT_TRUE(QRect(0, 0, 120, 80).contains(block));
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 120, 80), [&](QRgb c, int x, int y) { return c != kWhite && !block.contains(x, y); }), 0);
  EXPECT_GT(CountPixels(image, block, [](QRgb c, int, int) { return c == qRgb(255, 0, 0); }), 20);
  EXPECT_EQ(CountPixels(image, block, [](QRgb c, int, int) { return qRed(c) != 255; }), 0) << "only red on white";
}

TEST_F(PaintPixelTest, IndexZeroCoversIndexOne) {
  AddOwnFont("MW", RGBToColor(0, 0, 255));  // index 0, on top
  AddOwnFont("MW", clRed);
  const QImage both = Paint();
  zelto.SetLayerVisible(1, false);
  const QImage topOnly = Paint();
  const int fullyBlue = CountPixels(topOnly, topOnly.rect(), [](QRgb c, int, int) { return c == qRgb(0, 0, 255); });
  EXPECT_GT(fullyBlue, 20);
  EXPECT_EQ(CountPixels(topOnly, topOnly.rect(),
                        [&](QRgb c, int x, int y) { return c == qRgb(0, 0, 255) && both.pixel(x, y) != c; }),
            0);
  EXPECT_EQ(CountPixels(both, both.rect(), [](QRgb c, int, int) { return c == qRgb(255, 0, 0); }), 0)
      << "the red layer lies wholly under the blue one";
}

TEST_F(PaintPixelTest, HiddenLayerPaintsNothing) {
  AddOwnFont("MW", clRed).Visible = false;
  const QImage image = Paint();
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 120, 80), [](QRgb c, int, int) { return c != kWhite; }), 0);
}

TEST_F(PaintPixelTest, DefaultFontIsBackOnTheCanvasAfterAnOwnFont) {
  zelto.DefaultFont().Color = 0x336699;
  const TFont defaultFont = zelto.DefaultFont();
  AddOwnFont("Own", clRed, 30).AlignToAnchor(4);
  zelto.AddLayer("plain");
  Paint();
  EXPECT_EQ(zelto.DefaultFont(), defaultFont);
  EXPECT_EQ(zelto.Bitmap.Canvas().Font(), defaultFont);
}

TEST_F(PaintPixelTest, DefaultFontColourIsTheWindowTextColour) {
  TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer("MMM"));
  layer.AlignToAnchor(4);
  const QImage image = Paint();
  const QRgb text = QGuiApplication::palette().color(QPalette::WindowText).rgb();
  EXPECT_GT(CountPixels(image, QRect(0, 0, 120, 80), [&](QRgb c, int, int) { return c == text; }), 5);
}

TEST_F(PaintPixelTest, ShiftJisAndUtf8LinesPaintTheSamePixels) {
  const auto paintLine = [&](const char* codePageName, std::string_view line) {
    const ScopedCodePage scoped(codePageName);
    TZeltoZelto japanese(120, 40);
    TZeltoLayer& layer = japanese.GetLayer(japanese.AddLayer(line));
    layer.CharSpan = 1;
    layer.Left = 2;
    layer.Top = 4;
    TBitmap target;
    target.SetSize(120, 40);
    japanese.Paint(target.Canvas());
    return target.Image().copy();
  };
  // "日本語テキスト"
  const QImage shiftJis = paintLine("CP932", "\x93\xFA\x96\x7B\x8C\xEA\x83\x65\x83\x4C\x83\x58\x83\x67");
  const QImage utf8 = paintLine("UTF-8",
                                "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88");
  EXPECT_GT(CountPixels(utf8, utf8.rect(), [](QRgb c, int, int) { return c != kWhite; }), 50);
  EXPECT_EQ(shiftJis, utf8);
}

TEST_F(PaintPixelTest, UnderlineIsBrokenByTheGapsOfACharacterSpan) {
  TZeltoLayer& layer = AddOwnFont("IIII", clRed);
  layer.Font.Style = fsUnderline;
  layer.CharSpan = 6;
  layer.Left = 4;
  layer.Top = 4;
  const QImage image = Paint();
  // The underline is the lowest row with a long run of red; count its runs.
  int bestRuns = 0;
  for (int y = 4; y < 4 + layer.Font.Height() + 8; ++y) {
    int runs = 0, redInRow = 0;
    bool inRun = false;
    for (int x = 0; x < 120; ++x) {
      const bool red = image.pixel(x, y) == qRgb(255, 0, 0);
      redInRow += red;
      if (red && !inRun) ++runs;
      inRun = red;
    }
    if (redInRow > 20) bestRuns = runs;
  }
  EXPECT_EQ(bestRuns, 4) << "one underline piece for each character";
}

TEST_F(PaintPixelTest, LayersFarOffTheCanvasPaintNothingOnIt) {
  for (const auto& [left, top] : {std::pair{1 << 30, 10}, {-(1 << 30), 10}, {10, 1 << 30}, {10, -(1 << 30)},
                                  {INT32_MAX - 400, INT32_MAX - 400}}) {
    AddOwnFont("MMMM\r\nWWWW", clRed);
    zelto.GetLayer(zelto.LayerCount() - 1).Left = left;
    zelto.GetLayer(zelto.LayerCount() - 1).Top = top;
  }
  const QImage image = Paint();
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 120, 80), [](QRgb c, int, int) { return c != kWhite; }), 0);
}

TEST_F(PaintPixelTest, CharacterByCharacterMatchesTheLineDrawnAtOnce) {
  // Whole-pixel advances and no kerning: without spans, placing each character by the widths
  // before it lands every glyph where Qt's own line layout puts it.
  for (int size : {8, 10, 13, 20}) {
    zelto.Layers.clear();
    TZeltoLayer& layer = AddOwnFont("AVATar, quick Wg 0123 fly", clBlack, size);
    layer.Left = 2;
    layer.Top = 3;
    const QImage perCharacter = Paint().copy(0, 0, 120, 80);

    QImage atOnce(120, 80, QImage::Format_RGB32);
    atOnce.fill(Qt::white);
    QPainter painter(&atOnce);
    const QFont font = layer.Font.ToQFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(2, 3 + QFontMetrics(font).ascent()), QString::fromUtf8(layer.Text.c_str()));
    painter.end();
    EXPECT_EQ(perCharacter, atOnce) << size << " points";
  }
}

}  // namespace
