#include "toolkit/GlyphStamp.h"

#include "toolkit/TextEngine.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace {

// Stamp rows are padded with no coverage to whole blocks of this many pixels, so that the widest
// blender's strips cover a stamp that is not clipped.
constexpr int kBlock = 8;

// x · a / 255 per 8-bit channel, rounded as Qt's raster engine rounds it.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
  uint32_t t = (x & 0xFF00FF) * a;
  t = ((t + ((t >> 8) & 0xFF00FF) + 0x800080) >> 8) & 0xFF00FF;
  x = ((x >> 8) & 0xFF00FF) * a;
  x = (x + ((x >> 8) & 0xFF00FF) + 0x800080) & 0xFF00FF00;
  return x | t;
}

// Source-over of an opaque colour with coverage `a`: colour · a + pixel · (255 − a). Coverage 0
// leaves the pixel and 255 puts the colour, so one formula serves every pixel. Each blender goes
// down the area in strips as wide as its blocks and hands the columns left over to a narrower one.
void BlendScalar(const TGlyphStamp::Area& area, uint32_t argb) {
  for (int64_t y = 0; y < area.rows; ++y) {
    uint32_t* row = area.pixels + y * area.pixelStride;
    const uint8_t* coverage = area.coverage + y * area.coverageStride;
    for (int64_t i = 0; i < area.width; ++i) row[i] = ByteMul(argb, coverage[i]) + ByteMul(row[i], 255 - coverage[i]);
  }
}

// The columns of the area from `done` on.
TGlyphStamp::Area ColumnsFrom(const TGlyphStamp::Area& area, int64_t done) {
  return {area.pixels + done, area.pixelStride, area.coverage + done, area.coverageStride, area.width - done, area.rows};
}

#ifdef __SSE2__
// ByteMul on eight 16-bit lanes.
inline __m128i ByteMul(__m128i x, __m128i a) {
  const __m128i t = _mm_mullo_epi16(x, a);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
}

void BlendSse2(const TGlyphStamp::Area& area, uint32_t argb) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i all = _mm_set1_epi16(255);
  const __m128i color = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(argb)), zero);
  int64_t x = 0;
  for (; x + 4 <= area.width; x += 4) {
    uint32_t* pixel = area.pixels + x;
    const uint8_t* coverage = area.coverage + x;
    for (int64_t y = 0; y < area.rows; ++y, pixel += area.pixelStride, coverage += area.coverageStride) {
      uint32_t four;
      std::memcpy(&four, coverage, 4);
      if (four == 0) continue;
      if (four == 0xFFFFFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), _mm_set1_epi32(static_cast<int>(argb)));
        continue;
      }
      __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
      a = _mm_unpacklo_epi8(a, a);
      a = _mm_unpacklo_epi16(a, a);  // each coverage byte once for each channel of its pixel
      const __m128i aLow = _mm_unpacklo_epi8(a, zero), aHigh = _mm_unpackhi_epi8(a, zero);
      const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
      const __m128i low = _mm_add_epi16(ByteMul(color, aLow),
                                        ByteMul(_mm_unpacklo_epi8(pixels, zero), _mm_sub_epi16(all, aLow)));
      const __m128i high = _mm_add_epi16(ByteMul(color, aHigh),
                                         ByteMul(_mm_unpackhi_epi8(pixels, zero), _mm_sub_epi16(all, aHigh)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), _mm_packus_epi16(low, high));
    }
  }
  if (x < area.width) BlendScalar(ColumnsFrom(area, x), argb);
}

// ByteMul on sixteen 16-bit lanes.
__attribute__((target("avx2"))) inline __m256i ByteMul(__m256i x, __m256i a) {
  const __m256i t = _mm256_mullo_epi16(x, a);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), _mm256_set1_epi16(0x80)),
                           8);
}

__attribute__((target("avx2"))) void BlendAvx2(const TGlyphStamp::Area& area, uint32_t argb) {
  const __m256i all = _mm256_set1_epi16(255);
  const __m256i color = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(argb)));
  // Each coverage byte once for each channel of its pixel: pixels 0-3, then 4-7.
  const __m128i firstFour = _mm_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3);
  const __m128i lastFour = _mm_setr_epi8(4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7);
  int64_t x = 0;
  for (; x + 8 <= area.width; x += 8) {
    uint32_t* pixel = area.pixels + x;
    const uint8_t* coverage = area.coverage + x;
    for (int64_t y = 0; y < area.rows; ++y, pixel += area.pixelStride, coverage += area.coverageStride) {
      uint64_t eight;
      std::memcpy(&eight, coverage, 8);
      if (eight == 0) continue;
      if (eight == ~uint64_t(0)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), _mm256_set1_epi32(static_cast<int>(argb)));
        continue;
      }
      const __m128i a = _mm_cvtsi64_si128(static_cast<long long>(eight));
      const __m256i aLow = _mm256_cvtepu8_epi16(_mm_shuffle_epi8(a, firstFour));
      const __m256i aHigh = _mm256_cvtepu8_epi16(_mm_shuffle_epi8(a, lastFour));
      const __m256i low = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel)));
      const __m256i high = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + 4)));
      const __m256i blendedLow = _mm256_add_epi16(ByteMul(color, aLow), ByteMul(low, _mm256_sub_epi16(all, aLow)));
      const __m256i blendedHigh =
          _mm256_add_epi16(ByteMul(color, aHigh), ByteMul(high, _mm256_sub_epi16(all, aHigh)));
      // Packing works within 128-bit halves: put pixels 2-3 back between 0-1 and 4-5.
      const __m256i packed = _mm256_packus_epi16(blendedLow, blendedHigh);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), _mm256_permute4x64_epi64(packed, 0xD8));
    }
  }
  if (x < area.width) BlendSse2(ColumnsFrom(area, x), argb);
}
#endif

}  // namespace

std::vector<TGlyphStamp::Blender> TGlyphStamp::Blenders() {
  std::vector<Blender> blenders;
#ifdef __SSE2__
  if (__builtin_cpu_supports("avx2")) blenders.push_back({"AVX2", BlendAvx2});
  blenders.push_back({"SSE2", BlendSse2});
#endif
  blenders.push_back({"scalar", BlendScalar});
  return blenders;
}

std::optional<TGlyphStamp> TGlyphStamp::Capture(const QFont& font, const QString& text, int32_t cellWidth) {
  const QFontMetrics metrics(font);
  // Glyphs seldom reach a line height beyond their cell; when one does, the margin grows, as far
  // as any glyph is taken to reach.
  // One scratch image for the thread, grown as need be, of which each capture uses the top-left
  // corner: a fresh image for each character cost a picture's first characters more than their
  // drawing. Pixels drawn past the corner are neither cleared nor read.
  thread_local QImage scratch;
  for (int32_t margin = metrics.height() + 16; margin <= MaxGlyphReach(metrics.height()); margin *= 2) {
    const int width = std::max(cellWidth, 0) + 2 * margin, height = metrics.height() + 2 * margin;
    if (scratch.width() < width || scratch.height() < height)
      scratch = QImage(std::max(width, scratch.width()), std::max(height, scratch.height()), QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) std::fill_n(reinterpret_cast<QRgb*>(scratch.scanLine(y)), width, qRgb(0, 0, 0));
    {
      QPainter painter(&scratch);
      painter.setFont(font);
      painter.setPen(Qt::white);
      painter.drawText(QPointF(margin, margin + metrics.ascent()), text);
    }
    // White over black leaves each channel at the coverage.
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        if (qBlue(line[x]) == 0) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    TGlyphStamp stamp;
    if (right < 0) return stamp;
    if (left == 0 || top == 0 || right == width - 1 || bottom == height - 1) continue;
    stamp.left_ = left - margin;
    stamp.top_ = top - margin;
    stamp.width_ = (right - left + 1 + kBlock - 1) / kBlock * kBlock;
    stamp.height_ = bottom - top + 1;
    stamp.coverage_.assign(std::size_t(stamp.width_) * stamp.height_, 0);
    for (int y = top; y <= bottom; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
      for (int x = left; x <= right; ++x)
        stamp.coverage_[std::size_t(y - top) * stamp.width_ + (x - left)] = static_cast<uint8_t>(qBlue(line[x]));
    }
    return stamp;
  }
  return std::nullopt;
}

TPixelRows TPixelRows::Of(QImage& image) {
  return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(), image.bytesPerLine() / 4};
}

void TGlyphStamp::Blend(const TPixelRows& rows, int32_t x, int32_t y, uint32_t argb) const {
  const int64_t left = int64_t(x) + left_, top = int64_t(y) + top_;
  const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + width_, rows.width);
  const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(top + height_, rows.height);
  if (x0 >= x1 || y0 >= y1) return;
  static const Blender::Function blend = Blenders().front().function;
  blend({rows.bits + y0 * rows.stride + x0, rows.stride, coverage_.data() + (y0 - top) * width_ + (x0 - left), width_,
         x1 - x0, y1 - y0},
        argb);
}
