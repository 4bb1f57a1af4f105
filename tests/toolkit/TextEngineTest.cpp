// The raster text engine: its stamps' blending, and caches that must not outlive what they were
// made from.
#include "toolkit/Bitmap.h"
#include "toolkit/GlyphStamp.h"

#include "tests/support/ReferenceTextEngine.h"
#include "tests/support/ScopedCodePage.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(GlyphStampTest, EveryBlenderGivesThePixelsOfTheNarrowest) {
  std::mt19937 random(7);
  const auto byte = [&] { return static_cast<uint8_t>(random()); };
  const std::vector<TGlyphStamp::Blender> blenders = TGlyphStamp::Blenders();
  for (const int64_t width : {1, 3, 4, 7, 8, 9, 16, 21}) {
    const int64_t rows = 5, stride = width + 3;
    std::vector<uint8_t> coverage(rows * width);
    for (uint8_t& c : coverage) c = byte();
    // Blocks of no coverage and of full coverage take shortcuts; give each blender some.
    for (int64_t i = 0; i < std::min<int64_t>(width, 8); ++i) coverage[i] = 0, coverage[width + i] = 255;
    std::vector<uint32_t> background(rows * stride);
    for (uint32_t& p : background) p = 0xFF000000u | static_cast<uint32_t>(random());
    const uint32_t argb = 0xFF000000u | static_cast<uint32_t>(random());

    std::vector<uint32_t> expected;
    for (auto blender = blenders.rbegin(); blender != blenders.rend(); ++blender) {
      std::vector<uint32_t> pixels = background;
      blender->function({pixels.data(), stride, coverage.data(), width, width, rows}, argb);
      if (expected.empty()) expected = pixels;
      EXPECT_EQ(pixels, expected) << blender->name << ", " << width << " wide";
    }
  }
}

QImage PaintText(TTextEngine& engine, std::string_view bytes, const TFont& font, TPixelFormat format,
                 QSize size = {90, 40}) {
  TBitmap bitmap(format, engine);
  bitmap.SetSize(size.width(), size.height());
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetFont(font);
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.TextOut(3, 5, bytes);
  return bitmap.Image().convertToFormat(QImage::Format_RGB32);
}

TFont Font(int size, TFontStyles style = 0) {
  TFont font;
  font.Size = size;
  font.Style = style;
  font.Color = RGBToColor(30, 60, 90);
  return font;
}

struct QtDrawnCase {
  const char* name;
  TPixelFormat format;
  const char* bytes;
};

TEST(RasterTextEngineTest, WhatStampsDoNotCoverQtPaints) {
  const ScopedCodePage codePage("UTF-8");
  const QtDrawnCase cases[] = {
      {"24-bit rows", TPixelFormat::pf24bit, "W"},
      {"longer than a character", TPixelFormat::pf32bit, "Wg fly"},
      {"both", TPixelFormat::pf24bit, "Wg fly"},
  };
  ReferenceTextEngine reference;
  for (const QtDrawnCase& c : cases) {
    const QImage expected = PaintText(reference, c.bytes, Font(13, fsUnderline), c.format);
    EXPECT_EQ(PaintText(TTextEngine::Raster(), c.bytes, Font(13, fsUnderline), c.format), expected) << c.name;
    EXPECT_NE(expected, PaintText(reference, "", Font(13), c.format)) << c.name << " shows text";
  }
}

TEST(RasterTextEngineTest, CharactersFollowTheSystemCodePage) {
  // One byte, four letters: Ä, Ф, Δ and Ä again. Each code page is made where the last one was
  // freed, so that its address is likely the old one's.
  ReferenceTextEngine reference;
  for (const char* name : {"ISO-8859-1", "ISO-8859-5", "ISO-8859-7", "CP1252"}) {
    const ScopedCodePage codePage(name);
    EXPECT_EQ(PaintText(TTextEngine::Raster(), "\xC4", Font(14), TPixelFormat::pf32bit),
              PaintText(reference, "\xC4", Font(14), TPixelFormat::pf32bit))
        << name;
    EXPECT_EQ(TTextEngine::Raster().TextWidth(Font(14), "\xC4"), reference.TextWidth(Font(14), "\xC4")) << name;
  }
}

TEST(RasterTextEngineTest, AFontPushedOutOfTheCachePaintsTheSamePixelsWhenItComesBack) {
  const ScopedCodePage codePage("UTF-8");
  const TFont font = Font(12, fsBold | fsStrikeOut);
  const QImage first = PaintText(TTextEngine::Raster(), "Q", font, TPixelFormat::pf32bit);
  // Far more fonts than the cache keeps, each measured and drawn once.
  for (int size = 20; size < 120; ++size) PaintText(TTextEngine::Raster(), "Q", Font(size), TPixelFormat::pf32bit);
  EXPECT_EQ(PaintText(TTextEngine::Raster(), "Q", font, TPixelFormat::pf32bit), first);
  ReferenceTextEngine reference;
  EXPECT_EQ(first, PaintText(reference, "Q", font, TPixelFormat::pf32bit));
}

// Large glyphs too, whatever was drawn in between: a composition opened again, or rendered on the
// command line, paints as the windows painted it. Qt's FreeType faces are shared by every size of
// a font, and the windows' own text in the same face comes between, as a dialog's does.
TEST(RasterTextEngineTest, LargeGlyphsPaintTheSamePixelsWhateverWasDrawnBefore) {
  const ScopedCodePage codePage("UTF-8");
  const auto paintLarge = [] {
    return PaintText(*TTextEngine::NewRaster(), "45", Font(106), TPixelFormat::pf32bit, {200, 160});
  };
  const QImage first = paintLarge();
  EXPECT_NE(first, PaintText(*TTextEngine::NewRaster(), "", Font(106), TPixelFormat::pf32bit, {200, 160}))
      << "the glyphs show";
  for (const int pixels : {9, 13, 17}) {
    QImage window(200, 40, QImage::Format_RGB32);
    QPainter painter(&window);
    QFont windowFont(Font(106).Name);
    windowFont.setPixelSize(pixels);
    painter.setFont(windowFont);
    painter.drawText(QPointF(2, 30), QStringLiteral("Save as 45"));
    painter.end();
    EXPECT_EQ(paintLarge(), first) << "after the window's text of " << pixels << " pixels";
  }
}

}  // namespace
