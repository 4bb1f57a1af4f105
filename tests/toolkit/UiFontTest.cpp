#include "toolkit/UiFont.h"

#include <QFontInfo>
#include <QRawFont>
#include <gtest/gtest.h>

namespace {

TEST(UiFontTest, IsTheJapaneseGothicOf13Pixels) {
  const TFont font = UiFont();
  EXPECT_EQ(font.Name, QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(font.Height(), 13);
  EXPECT_EQ(font.Charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.Color, clWindowText);
  EXPECT_EQ(font.Style, 0);
  EXPECT_EQ(font.ToQFont().pixelSize(), 13);
}

TEST(UiFontTest, JapaneseTextIsDrawnInOneInstalledFace) {
  const QFont font = UiFont().ToQFont();
  // The face that Qt resolves the name to has the glyphs itself, without falling back.
  const QRawFont face = QRawFont::fromFont(font);
  for (const QChar c : QStringLiteral("ゴシック亜宇Aa"))
    EXPECT_TRUE(face.supportsCharacter(c)) << QFontInfo(font).family().toStdString() << " lacks U+"
                                   << std::hex << int(c.unicode());
}

}  // namespace
