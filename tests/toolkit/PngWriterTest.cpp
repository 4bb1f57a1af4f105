#include "toolkit/PngWriter.h"

#include <QImage>
#include <gtest/gtest.h>

#include <random>

namespace {

// A picture of seeded random pixels, alpha included, `width` × `height`.
QImage Noise(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  QImage picture(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, random());
  return picture;
}

TEST(PngWriterTest, ReadsBackAsThePicturesPixelsWithAndWithoutAlpha) {
  for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(400, 17), QSize(1, 300)}) {
    const QImage picture = Noise(size.width(), size.height(), size.width() * 31 + size.height());
    const QImage opaque = QImage::fromData(EncodePng(picture, false), "PNG");
    ASSERT_FALSE(opaque.isNull()) << size.width() << "x" << size.height();
    EXPECT_FALSE(opaque.hasAlphaChannel());
    EXPECT_EQ(opaque.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    const QImage withAlpha = QImage::fromData(EncodePng(picture, true), "PNG");
    EXPECT_TRUE(withAlpha.hasAlphaChannel());
    EXPECT_EQ(withAlpha.convertToFormat(QImage::Format_ARGB32), picture);
  }
}

TEST(PngWriterTest, WritesEightBitRedGreenBlueWithOrWithoutAlpha) {
  const QByteArray rgb = EncodePng(Noise(5, 4, 1), false), rgba = EncodePng(Noise(5, 4, 1), true);
  ASSERT_TRUE(rgb.startsWith(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16)));
  EXPECT_EQ(rgb[24], 8);
  EXPECT_EQ(rgb[25], 2);
  EXPECT_EQ(rgba[25], 6);
  EXPECT_TRUE(rgb.endsWith(QByteArray("IEND\xAE\x42\x60\x82", 8)));
  EXPECT_THROW(EncodePng(QImage(), false), std::runtime_error);
}

}  // namespace
