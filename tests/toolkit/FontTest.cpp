#include "toolkit/Colors.h"
#include "toolkit/Font.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

TEST(FontTest, PixelHeightFollowsThePointSizeAt96Dpi) {
  const std::pair<int, int> sizes[] = {{8, 11}, {9, 12}, {10, 13}, {12, 16}, {20, 27}, {100, 133}};
  for (const auto& [points, pixels] : sizes) {
    TFont font;
    font.Size = points;
    EXPECT_EQ(font.Height(), pixels) << points;
    TFont byHeight;
    byHeight.SetHeight(pixels);
    EXPECT_EQ(byHeight.Size, points) << pixels;
  }
}

TEST(FontTest, ToolkitDefaultIsDocumentedAndMapsToQt) {
  TFont font;
  EXPECT_EQ(font.Name, "DejaVu Sans");
  EXPECT_EQ(font.Size, 10);
  EXPECT_EQ(font.Charset, DEFAULT_CHARSET);
  EXPECT_EQ(font.Color, clWindowText);
  EXPECT_LT(font.Color, 0);

  font.Style = fsBold | fsUnderline;
  const QFont q = font.ToQFont();
  EXPECT_EQ(q.family(), "DejaVu Sans");
  EXPECT_EQ(q.pixelSize(), 13);
  EXPECT_TRUE(q.bold());
  EXPECT_FALSE(q.italic());
  EXPECT_TRUE(q.underline());
  EXPECT_FALSE(q.strikeOut());
}

TEST(FontTest, CopiesCompareEqualColourIncluded) {
  TFont a;
  a.Name = "IPAGothic";
  a.Style = fsItalic | fsStrikeOut;
  a.Charset = SHIFTJIS_CHARSET;
  TFont b = a;
  EXPECT_EQ(a, b);
  b.Color = clRed;
  EXPECT_NE(a, b);
}

TEST(ColorsTest, SystemColourReferencesResolveToThePalette) {
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  const QColor text = QGuiApplication::palette().color(QPalette::WindowText);
  EXPECT_EQ(ToQColor(clWindowText), text);
  const QColor window = QGuiApplication::palette().color(QPalette::Base);
  EXPECT_EQ(ToQColor(SystemColorRef(COLOR_WINDOW)), window);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
}

TEST(ColorsTest, RedIsTheLowByte) {
  EXPECT_EQ(RGBToColor(255, 255, 0), 65535);
  EXPECT_EQ(ToQColor(16711680), QColor(0, 0, 255));
  EXPECT_EQ(ToQColor(51), QColor(51, 0, 0));
}

// Documents and the command line write colours "#rrggbb"; anything else is no colour, digits of
// other scripts included.
TEST(ColorsTest, HexColoursAreHashAndSixHexadecimalDigits) {
  const struct {
    const char16_t* text;
    std::optional<TColor> color;
  } cases[] = {
      {u"#123456", RGBToColor(0x12, 0x34, 0x56)}, {u"#ABCdef", RGBToColor(0xAB, 0xCD, 0xEF)},
      {u"#000000", clBlack},                     {u"#ffffff", clWhite},
      {u"#12345", std::nullopt},                 {u"#1234567", std::nullopt},
      {u"#12345g", std::nullopt},                {u"123456#", std::nullopt},
      {u" #123456", std::nullopt},               {u"#\u0661\u0662\u0663\u0664\u0665\u0666", std::nullopt},
      {u"#12 456", std::nullopt},                {u"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorFromHex(QString::fromUtf16(c.text)), c.color) << QString::fromUtf16(c.text).toStdString();
}

}  // namespace
