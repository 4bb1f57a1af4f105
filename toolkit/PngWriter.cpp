#include "toolkit/PngWriter.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

void AppendChunk(QByteArray& png, const char type[4], QByteArrayView data) {
  const quint32 length = qToBigEndian(static_cast<quint32>(data.size()));
  png.append(reinterpret_cast<const char*>(&length), 4);
  const qsizetype start = png.size();
  png.append(type, 4);
  png.append(data);
  const quint32 crc = qToBigEndian(static_cast<quint32>(
      crc32(0, reinterpret_cast<const Bytef*>(png.constData() + start), static_cast<uInt>(png.size() - start))));
  png.append(reinterpret_cast<const char*>(&crc), 4);
}

// Each byte of `a` less the same byte of `b`, eight bytes at a time, without borrows between them.
uint64_t SubtractBytes(uint64_t a, uint64_t b) {
  constexpr uint64_t high = 0x8080808080808080u;
  return ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high);
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
  const std::size_t words = (rowBytes + 7) / 8;

  // The buffers stay with the thread: a table's pictures are all of one size, and fresh memory
  // of that size costs more to map than the filtering itself.
  thread_local std::vector<uint8_t> filtered, rows;
  thread_local QByteArray deflated;
  filtered.resize(std::size_t(height) * (rowBytes + 1));
  rows.assign(2 * words * 8, 0);
  uint8_t* above = rows.data();
  uint8_t* row = above + words * 8;

  // Each row: its filter type (2, Up), then each byte less the same byte of the row above (none
  // above the first). Rows of one colour, most of a picture of text, become zeros.
  for (int y = 0; y < height; ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uint8_t* bytes = row;
    if (withAlpha) {
      for (int x = 0; x < width; ++x, bytes += 4) {
        const QRgb p = pixels[x];
        bytes[0] = uint8_t(qRed(p)), bytes[1] = uint8_t(qGreen(p)), bytes[2] = uint8_t(qBlue(p)), bytes[3] = uint8_t(qAlpha(p));
      }
    } else {
      for (int x = 0; x < width; ++x, bytes += 3) {
        const QRgb p = pixels[x];
        bytes[0] = uint8_t(qRed(p)), bytes[1] = uint8_t(qGreen(p)), bytes[2] = uint8_t(qBlue(p));
      }
    }
    uint8_t* out = filtered.data() + std::size_t(y) * (rowBytes + 1);
    *out++ = 2;
    for (std::size_t w = 0; w < words; ++w) {
      uint64_t a, b;
      std::memcpy(&a, row + 8 * w, 8);
      std::memcpy(&b, above + 8 * w, 8);
      const uint64_t difference = SubtractBytes(a, b);
      std::memcpy(out + 8 * w, &difference, std::min<std::size_t>(8, rowBytes - 8 * w));
    }
    std::swap(above, row);
  }

  uLongf deflatedSize = compressBound(static_cast<uLong>(filtered.size()));
  deflated.resize(static_cast<qsizetype>(deflatedSize));
  if (compress2(reinterpret_cast<Bytef*>(deflated.data()), &deflatedSize, filtered.data(),
                static_cast<uLong>(filtered.size()), Z_BEST_SPEED) != Z_OK)
    throw std::runtime_error("the picture could not be compressed");

  QByteArray header(13, '\0');
  qToBigEndian(static_cast<quint32>(width), header.data());
  qToBigEndian(static_cast<quint32>(height), header.data() + 4);
  header[8] = 8;                  // bits a channel
  header[9] = withAlpha ? 6 : 2;  // RGBA, RGB
  // Compression, filter method and interlace stay 0: deflate, adaptive filtering, none.

  QByteArray png("\x89PNG\r\n\x1A\n", 8);
  png.reserve(8 + 25 + qsizetype(deflatedSize) + 12 + 12);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", QByteArrayView(deflated.constData(), qsizetype(deflatedSize)));
  AppendChunk(png, "IEND", {});
  return png;
}
