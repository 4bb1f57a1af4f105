#include "toolkit/PngWriter.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
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

// A deflate stream's bits, least significant first, appended to `out` a byte at a time.
class TDeflateBits {
 public:
  explicit TDeflateBits(QByteArray& out) : out_(out) {}

  void Put(uint32_t value, int count) {
    bits_ |= uint64_t(value) << count_;
    for (count_ += count; count_ >= 8; count_ -= 8, bits_ >>= 8) out_.append(char(bits_ & 0xFF));
  }
  // A Huffman code goes most significant bit first.
  void PutCode(uint32_t code, int count) {
    uint32_t reversed = 0;
    for (int i = 0; i < count; ++i, code >>= 1) reversed = (reversed << 1) | (code & 1);
    Put(reversed, count);
  }
  void PadToByte() {
    if (count_ > 0) Put(0, 8 - count_);
  }

  // A symbol of the fixed literal/length code: bytes, 256 for a block's end, 257 on for lengths.
  void PutSymbol(int symbol) {
    if (symbol < 144) PutCode(0x30 + symbol, 8);
    else if (symbol < 256) PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280) PutCode(symbol - 256, 7);
    else PutCode(0xC0 + symbol - 280, 8);
  }

  // The byte before, `length` times more (3 or more), as copies from one byte back: the fixed
  // code's length symbol and extra bits, then distance code 0.
  void PutRepeats(int64_t length) {
    static constexpr int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    while (length > 0) {
      // No copy is shorter than 3: the last two share out what is left.
      const int piece = length > 258 ? (length - 258 >= 3 ? 258 : int(length) - 3) : int(length);
      const int code = int(std::upper_bound(std::begin(kLengthBase), std::end(kLengthBase), piece) - std::begin(kLengthBase)) - 1;
      PutSymbol(257 + code);
      Put(uint32_t(piece - kLengthBase[code]), kLengthExtra[code]);
      PutCode(0, 5);
      length -= piece;
    }
  }

 private:
  QByteArray& out_;
  uint64_t bits_ = 0;
  int count_ = 0;
};

// A block of `rows` filtered rows that are all zero but for the filter type (2, Up) that begins
// each: a row is the filter type and a zero, then that zero repeated. Unless the block is
// the stream's last, an empty stored block follows, which brings the stream to a whole byte for
// the next block.
void PutZeroRows(QByteArray& out, std::size_t rowBytes, int64_t rows, bool last) {
  TDeflateBits bits(out);
  bits.Put(last ? 1 : 0, 1);
  bits.Put(1, 2);  // fixed Huffman codes
  for (int64_t row = 0; row < rows; ++row) {
    bits.PutSymbol(2);
    bits.PutSymbol(0);
    if (rowBytes - 1 >= 3)
      bits.PutRepeats(int64_t(rowBytes) - 1);
    else
      for (std::size_t i = 1; i < rowBytes; ++i) bits.PutSymbol(0);
  }
  bits.PutSymbol(256);
  if (!last) {
    bits.Put(0, 3);  // a stored block, not the last
    bits.PadToByte();
    out.append("\0\0\xFF\xFF", 4);
  }
  bits.PadToByte();
}

// Deflates `bytes` onto `out` with zlib's raw stream, ending the block at a whole byte or, where
// `last` is set, ending the stream.
void Deflate(z_stream& stream, QByteArray& out, const uint8_t* bytes, std::size_t size, bool last) {
  stream.next_in = const_cast<Bytef*>(bytes);
  stream.avail_in = static_cast<uInt>(size);
  int result;
  do {
    const qsizetype start = out.size();
    const qsizetype room = qsizetype(deflateBound(&stream, static_cast<uLong>(size))) + 16;
    out.resize(start + room);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    stream.avail_out = static_cast<uInt>(room);
    result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(start + room - qsizetype(stream.avail_out));
    if (result == Z_STREAM_ERROR) throw std::runtime_error("the picture could not be compressed");
  } while (stream.avail_out == 0 || (last && result != Z_STREAM_END));
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
  // of that size costs more to map than the filtering itself. Nor are the filtered rows cleared
  // first: rows that repeat the row above are never written there, and clearing and mapping a
  // whole picture's worth cost a single picture more than its encoding.
  thread_local std::unique_ptr<uint8_t[]> filteredRows;
  thread_local std::size_t filteredSize = 0;
  if (filteredSize < std::size_t(height) * (rowBytes + 1)) {
    filteredSize = std::size_t(height) * (rowBytes + 1);
    filteredRows.reset(new uint8_t[filteredSize]);
  }
  uint8_t* const filtered = filteredRows.get();
  thread_local std::vector<uint8_t> rows;
  rows.assign(2 * words * 8, 0);
  uint8_t* above = rows.data();
  uint8_t* row = above + words * 8;

  // Each row: its filter type (2, Up), then each byte less the same byte of the row above (none
  // above the first). A row as the one above it, most rows of a picture of text, is all zeros:
  // such rows are only marked.
  std::vector<bool> repeated(std::size_t(height), false);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = filtered + std::size_t(y) * (rowBytes + 1);
    *out++ = 2;
    if (y > 0 && std::memcmp(image.constScanLine(y), image.constScanLine(y - 1), std::size_t(width) * 4) == 0) {
      repeated[std::size_t(y)] = true;
      continue;
    }
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
    for (std::size_t w = 0; w < words; ++w) {
      uint64_t a, b;
      std::memcpy(&a, row + 8 * w, 8);
      std::memcpy(&b, above + 8 * w, 8);
      const uint64_t difference = SubtractBytes(a, b);
      std::memcpy(out + 8 * w, &difference, std::min<std::size_t>(8, rowBytes - 8 * w));
    }
    std::swap(above, row);
  }

  // The zlib stream: runs of other rows deflated by zlib at its fastest level, each run afresh,
  // and runs of zero rows written as copies straight away, which spares deflate the scan of most
  // of the picture. Matches reaching back across runs were tried: the files were no smaller.
  QByteArray deflated("\x78\x01", 2);  // deflate with a 32 KiB window, fastest
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("the picture could not be compressed");
  const std::size_t rowSize = rowBytes + 1;
  uLong adler = adler32(0, nullptr, 0);
  // Adler-32 of a zero row: its bytes sum to 2 after the 1 the sum starts at, and the sum of sums
  // adds that 3 for each of its bytes.
  const uLong zeroRowAdler = (uLong(3 * rowSize % 65521) << 16) | 3;
  try {
    for (int y = 0; y < height;) {
      const bool zeros = repeated[std::size_t(y)];
      int end = y;
      while (end < height && repeated[std::size_t(end)] == zeros) ++end;
      const bool last = end == height;
      const uint8_t* start = filtered + std::size_t(y) * rowSize;
      const std::size_t size = std::size_t(end - y) * rowSize;
      if (zeros) {
        PutZeroRows(deflated, rowBytes, end - y, last);
        for (int i = y; i < end; ++i) adler = adler32_combine(adler, zeroRowAdler, static_cast<z_off_t>(rowSize));
      } else {
        if (y > 0 && deflateReset(&stream) != Z_OK) throw std::runtime_error("the picture could not be compressed");
        Deflate(stream, deflated, start, size, last);
        adler = adler32(adler, start, static_cast<uInt>(size));
      }
      y = end;
    }
  } catch (...) {
    deflateEnd(&stream);
    throw;
  }
  deflateEnd(&stream);
  const quint32 check = qToBigEndian(static_cast<quint32>(adler));
  deflated.append(reinterpret_cast<const char*>(&check), 4);

  QByteArray header(13, '\0');
  qToBigEndian(static_cast<quint32>(width), header.data());
  qToBigEndian(static_cast<quint32>(height), header.data() + 4);
  header[8] = 8;                  // bits a channel
  header[9] = withAlpha ? 6 : 2;  // RGBA, RGB
  // Compression, filter method and interlace stay 0: deflate, adaptive filtering, none.

  QByteArray png("\x89PNG\r\n\x1A\n", 8);
  png.reserve(8 + 25 + deflated.size() + 12 + 12);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", deflated);
  AppendChunk(png, "IEND", {});
  return png;
}
