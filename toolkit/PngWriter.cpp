#include "toolkit/PngWriter.h"

#include <QtEndian>

#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace {

void AppendChunk(QByteArray& png, const char type[4], const QByteArray& data) {
  const quint32 length = qToBigEndian(static_cast<quint32>(data.size()));
  png.append(reinterpret_cast<const char*>(&length), 4);
  const qsizetype start = png.size();
  png.append(type, 4);
  png.append(data);
  const quint32 crc = qToBigEndian(static_cast<quint32>(
      crc32(0, reinterpret_cast<const Bytef*>(png.constData() + start), static_cast<uInt>(png.size() - start))));
  png.append(reinterpret_cast<const char*>(&crc), 4);
}

}  // namespace

QByteArray EncodePng(const QImage& picture, bool withAlpha) {
  // In the words of Qt's own writers.
  if (picture.isNull()) throw std::runtime_error("Image is empty");
  // The program's pictures are 32-bit already; anything else is read as such.
  const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
  const QImage image = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32);
  const int channels = withAlpha ? 4 : 3;
  const int width = image.width(), height = image.height();
  const std::size_t rowBytes = std::size_t(width) * channels;

  // Each row: its filter type (1, Sub), then each byte less the same byte of the pixel to its left.
  std::vector<uint8_t> filtered(std::size_t(height) * (rowBytes + 1));
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uint8_t* out = filtered.data() + std::size_t(y) * (rowBytes + 1);
    *out++ = 1;
    QRgb left = withAlpha ? 0 : 0xFF000000;
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = row[x];
      *out++ = static_cast<uint8_t>(qRed(pixel) - qRed(left));
      *out++ = static_cast<uint8_t>(qGreen(pixel) - qGreen(left));
      *out++ = static_cast<uint8_t>(qBlue(pixel) - qBlue(left));
      if (withAlpha) *out++ = static_cast<uint8_t>(qAlpha(pixel) - qAlpha(left));
      left = pixel;
    }
  }

  uLongf deflatedSize = compressBound(static_cast<uLong>(filtered.size()));
  QByteArray deflated(static_cast<qsizetype>(deflatedSize), Qt::Uninitialized);
  if (compress2(reinterpret_cast<Bytef*>(deflated.data()), &deflatedSize, filtered.data(),
                static_cast<uLong>(filtered.size()), Z_BEST_SPEED) != Z_OK)
    throw std::runtime_error("the picture could not be compressed");
  deflated.resize(static_cast<qsizetype>(deflatedSize));

  QByteArray header(13, '\0');
  qToBigEndian(static_cast<quint32>(image.width()), header.data());
  qToBigEndian(static_cast<quint32>(image.height()), header.data() + 4);
  header[8] = 8;                     // bits a channel
  header[9] = withAlpha ? 6 : 2;     // RGBA, RGB
  // Compression, filter method and interlace stay 0: deflate, adaptive filtering, none.

  QByteArray png("\x89PNG\r\n\x1A\n", 8);
  png.reserve(8 + 25 + deflated.size() + 12 + 12);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", deflated);
  AppendChunk(png, "IEND", QByteArray());
  return png;
}
