#include "toolkit/PngWriter.h"

#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
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

// The data of a PNG's IDAT chunks, inflated: zlib checks the stream and its checksum.
QByteArray Inflated(const QByteArray& png, qsizetype expectedSize) {
  QByteArray stream;
  for (qsizetype at = 8; at + 8 <= png.size();) {
    const qsizetype length = qFromBigEndian<quint32>(png.constData() + at);
    if (png.mid(at + 4, 4) == "IDAT") stream += png.mid(at + 8, length);
    at += 12 + length;
  }
  QByteArray data(expectedSize + 1, '\0');
  uLongf size = uLongf(data.size());
  if (uncompress(reinterpret_cast<Bytef*>(data.data()), &size, reinterpret_cast<const Bytef*>(stream.constData()),
                 uLong(stream.size())) != Z_OK)
    return {};
  data.resize(qsizetype(size));
  return data;
}

// The rows of `picture` as PNG's "Up" filter makes them, byte by byte.
QByteArray UpFiltered(const QImage& picture, bool withAlpha) {
  QByteArray data, above;
  for (int y = 0; y < picture.height(); ++y) {
    QByteArray row;
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb p = picture.pixel(x, y);
      row += char(qRed(p)), row += char(qGreen(p)), row += char(qBlue(p));
      if (withAlpha) row += char(qAlpha(p));
    }
    data += char(2);
    for (qsizetype i = 0; i < row.size(); ++i) data += char(row[i] - (y > 0 ? above[i] : 0));
    above = row;
  }
  return data;
}

// A picture of rows of one colour, as most of a picture of text is, between rows of noise: each
// letter of `rows` is a row, "n" of noise and another letter of that one colour.
QImage Stripes(int width, const char* rows) {
  QImage picture(width, int(std::strlen(rows)), QImage::Format_ARGB32);
  const QImage noise = Noise(width, picture.height(), uint32_t(width));
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < width; ++x)
      picture.setPixel(x, y, rows[y] == 'n' ? noise.pixel(x, y) : qRgba(rows[y] * 3, 250, rows[y], 200 + rows[y] % 50));
  return picture;
}

// Rows that repeat the row above are written as copies, not deflated: the stream stays whole,
// wherever the repeats begin and end, however wide the rows (beyond deflate's reach of 32 KiB
// too) and however short.
TEST(PngWriterTest, RowsThatRepeatTheRowAboveMakeAWholeStream) {
  struct Case {
    int width;
    const char* rows;
  };
  for (const Case& c : {Case{400, "aaaaaaaa"}, Case{400, "aaannnbbbbnncc"}, Case{400, "nnaaaaaaaaaan"},
                        Case{400, "nabnbbbbnbbbbbbbbbbbbbbbbbbbbbbbbbbb"}, Case{1, "aaaanaa"}, Case{2, "aannnaaa"},
                        Case{9000, "aaaannaa"}, Case{11000, "aaanaaa"}, Case{400, "a"}, Case{400, "nnnn"}}) {
    const QImage picture = Stripes(c.width, c.rows);
    for (const bool withAlpha : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.width << " wide, rows " << c.rows << (withAlpha ? ", with alpha" : ""));
      const QByteArray png = EncodePng(picture, withAlpha);
      const QByteArray expected = UpFiltered(picture, withAlpha);
      EXPECT_EQ(Inflated(png, expected.size()), expected);
      const QImage back = QImage::fromData(png, "PNG");
      ASSERT_FALSE(back.isNull());
      EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32),
                withAlpha ? picture : picture.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32));
    }
  }
}

// A row that differs from the one above in its last byte alone is not taken for a repeat.
TEST(PngWriterTest, ARowDifferentOnlyInItsLastPixelIsKept) {
  QImage picture(300, 6, QImage::Format_RGB32);
  picture.fill(Qt::white);
  picture.setPixel(299, 3, qRgb(255, 255, 254));
  const QByteArray png = EncodePng(picture, false);
  EXPECT_EQ(Inflated(png, UpFiltered(picture, false).size()), UpFiltered(picture, false));
  EXPECT_EQ(QImage::fromData(png, "PNG").pixel(299, 3), qRgb(255, 255, 254));
}

// A repeated row is written in deflate's fixed code, a dozen bytes or less for a row of 400 pixels.
TEST(PngWriterTest, APictureOfOneColourTakesAFewBytesARowAtMost) {
  QImage picture(400, 400, QImage::Format_RGB32);
  picture.fill(Qt::white);
  EXPECT_LT(EncodePng(picture, false).size(), 12 * picture.height());
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
