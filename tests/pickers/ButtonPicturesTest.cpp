#include "pickers/ButtonPictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

// Each picture is drawn hard-edged: every pixel is either transparent or one of the classic
// 16 colours, fully opaque.
TEST(ButtonPicturesTest, UseTheSixteenColoursOnATransparentGround) {
  const std::set<QRgb> sixteen = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  struct Case {
    const char* name;
    std::function<QPixmap()> picture;
    int side;
  };
  const Case cases[] = {
      {"OK", OkGlyph, 20},
      {"Cancel", CancelGlyph, 20},
      {"font colour", FontColorGlyph, 20},
      {"add layer", AddLayerGlyph, 16},
      {"copy layer", CopyLayerGlyph, 16},
      {"arrow up", [] { return ArrowGlyph(true); }, 16},
      {"arrow down", [] { return ArrowGlyph(false); }, 16},
      {"layer font", LayerFontGlyph, 16},
      {"layer colour", LayerColorGlyph, 16},
      {"default font", DefaultFontGlyph, 16},
      {"default colour", DefaultColorGlyph, 16},
      {"anchor 0", [] { return AnchorGlyph(0); }, 16},
      {"anchor 8", [] { return AnchorGlyph(8); }, 16},
      {"undo", UndoGlyph, 16},
      {"redo", RedoGlyph, 16},
      {"export picture", ExportPictureGlyph, 16},
      {"new document", NewDocumentGlyph, 16},
      {"open document", OpenDocumentGlyph, 16},
      {"save document", SaveDocumentGlyph, 16},
      {"save document as", SaveDocumentAsGlyph, 16},
      {"copy picture", CopyPictureGlyph, 16},
  };
  for (const Case& c : cases) {
    const QImage image = c.picture().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(c.side, c.side)) << c.name;
    int opaque = 0, stray = 0;
    for (int y = 0; y < c.side; ++y)
      for (int x = 0; x < c.side; ++x) {
        const QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) == 0) continue;
        ++opaque;
        stray += qAlpha(pixel) != 255 || !sixteen.contains(pixel);
      }
    EXPECT_GT(opaque, 10) << c.name;
    EXPECT_EQ(stray, 0) << c.name;
  }
}

}  // namespace
