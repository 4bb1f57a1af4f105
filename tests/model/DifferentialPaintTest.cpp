// The raster engine against the plain reference (one QPainter text call per character): the
// same compositions must paint the very same pixels, font by font.
#include "model/Zelto.h"

#include "tests/support/ReferenceTextEngine.h"
#include "tests/support/ScopedCodePage.h"

#include <QImage>

#include <gtest/gtest.h>

#include <climits>

namespace {

struct FontCase {
  const char* name;
  const char* face;
  int size;
  TFontStyles style;
  const char* codePage;
  const char* text;  // in the code page, lines apart by CR LF
  TColor color;
};

constexpr const char* kLatin = "AVWg fly, Hiq\r\n0123 {}|~@#& Tj";
constexpr const char* kAccents = "\xC3\xA9t\xC3\xA9 \xC3\x9F \xCE\xA9 \xE2\x82\xAC 5\r\nq\xC3\xA7";
// "日本語 テキスト abc" and "ｶﾅ" in Shift-JIS: two-byte, one-byte and half-width characters.
constexpr const char* kJapanese = "\x93\xFA\x96\x7B\x8C\xEA \x83\x65\x83\x4C\x83\x58\x83\x67 abc\r\n\xB6\xC5";

const TColor kHighlight = SystemColorRef(COLOR_HIGHLIGHT);

const FontCase kCases[] = {
    {"SansDefault", "DejaVu Sans", 10, 0, "UTF-8", kLatin, clWindowText},
    {"SansSmallBold", "DejaVu Sans", 6, fsBold, "UTF-8", kLatin, clRed},
    {"SansItalic", "DejaVu Sans", 13, fsItalic, "UTF-8", kLatin, RGBToColor(20, 60, 200)},
    {"SansBoldItalic", "DejaVu Sans", 12, fsBold | fsItalic, "UTF-8", kAccents, RGBToColor(0, 128, 0)},
    {"SansUnderline", "DejaVu Sans", 10, fsUnderline, "UTF-8", kLatin, clBlack},
    {"SansStrikeOut", "DejaVu Sans", 11, fsStrikeOut, "UTF-8", kAccents, kHighlight},
    {"SansAllStyles", "DejaVu Sans", 14, fsBold | fsItalic | fsUnderline | fsStrikeOut, "UTF-8", kLatin,
     RGBToColor(200, 100, 50)},
    {"Serif", "DejaVu Serif", 12, 0, "UTF-8", kAccents, RGBToColor(90, 0, 90)},
    {"Mono", "DejaVu Sans Mono", 9, 0, "ISO-8859-1", "Caf\xE9 \xC6\xD8\xC5 ~^`\r\n\xB5\xB6\xBF", clWindowText},
    {"NimbusRoman", "Nimbus Roman", 16, fsItalic, "UTF-8", kLatin, RGBToColor(10, 10, 10)},
    {"JapaneseFallsBackFromSans", "DejaVu Sans", 10, 0, "CP932", kJapanese, clWindowText},
    {"JapaneseFallbackUnderlined", "DejaVu Sans", 12, fsUnderline | fsStrikeOut, "CP932", kJapanese, clRed},
    {"IpaGothicBold", "IPAGothic", 11, fsBold, "CP932", kJapanese, kHighlight},
    {"Sans72", "DejaVu Sans", 72, fsUnderline, "UTF-8", "Wg\r\nj@", RGBToColor(0, 0, 255)},
    {"Serif200", "DejaVu Serif", 200, fsItalic, "UTF-8", "Qf", clWindowText},
};

// Layers of the case's font: overlapping each other, across all four edges of the canvas, and
// at the edges of 32-bit coordinates.
QImage Paint(const FontCase& c, TTextEngine& engine) {
  const int32_t width = c.size >= 72 ? 900 : 220, height = c.size >= 72 ? 700 : 90;
  TZeltoZelto zelto(width, height, engine);
  Composition = &zelto;
  struct Place {
    int32_t left, top, charSpan, lineSpan;
    TColor color;
  };
  const int32_t cell = TFont{.Size = c.size}.Height();
  const Place places[] = {
      {3, 2, 1, 2, c.color},
      {6, cell / 2, -3, -4, RGBToColor(250, 200, 0)},  // over the first, glyphs over glyphs
      {-cell, height / 2, 0, 0, c.color},              // across the left edge
      {width - 2 * cell, height / 3, 2, 0, RGBToColor(0, 160, 160)},  // the right edge
      {width / 3, -cell / 2 - 1, 0, 0, c.color},                       // the top edge
      {width / 2, height - cell - 3, -1, 1, c.color},                  // the bottom edge
      {INT32_MIN + 1, 5, 0, 0, c.color},
      {5, INT32_MIN + 1, 0, 0, c.color},
      {INT32_MAX - 40 * cell, 5, 0, 0, c.color},
      {5, INT32_MAX - 4 * cell, 0, 0, c.color},
  };
  for (const Place& p : places) {
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(c.text));
    layer.UseDefaultFont = false;
    layer.Font.Name = c.face;
    layer.Font.Size = c.size;
    layer.Font.Style = c.style;
    layer.Font.Color = p.color;
    layer.Left = p.left;
    layer.Top = p.top;
    layer.CharSpan = p.charSpan;
    layer.LineSpan = p.lineSpan;
  }
  TBitmap screen(TPixelFormat::pf32bit);
  zelto.Paint(screen.Canvas());
  Composition = nullptr;
  return zelto.Bitmap.Image().copy();
}

class DifferentialPaintTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(DifferentialPaintTest, RasterEnginePaintsTheReferencePixels) {
  const FontCase& c = GetParam();
  const ScopedCodePage codePage(c.codePage);
  ReferenceTextEngine reference;
  const QImage expected = Paint(c, reference);
  const QImage actual = Paint(c, TTextEngine::Raster());
  int differing = 0, inked = 0;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) {
      differing += expected.pixel(x, y) != actual.pixel(x, y);
      inked += expected.pixel(x, y) != 0xFFFFFFFF;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 100) << "the composition shows its text";
}

INSTANTIATE_TEST_SUITE_P(Fonts, DifferentialPaintTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FontCase>& info) { return std::string(info.param.name); });

}  // namespace
