#pragma once
// An off-screen bitmap of 8-bit red, green and blue with direct access to its rows, and its
// canvas.
#include "toolkit/Canvas.h"

#include <QImage>
#include <cstdint>
#include <stdexcept>

// A bitmap that cannot be made at the asked size.
class EOutOfResources : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// How a bitmap lays out its pixels. Both hold the same colours; the raster engine blends glyphs
// into 32-bit pixels several times faster, so bitmaps that take much text use pf32bit.
enum class TPixelFormat : uint8_t {
  pf24bit,  // three bytes a pixel: blue, green, red
  pf32bit,  // four bytes a pixel: blue, green, red, and one unused
};

class TBitmap {
 public:
  // The largest bitmap the program makes: the raster engine's coordinates stop at 32767, and
  // 64 megapixels (at most 256 MiB of pixels) is what a desktop gives a picture without strain.
  static constexpr int32_t kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

  explicit TBitmap(TPixelFormat format = TPixelFormat::pf24bit, TTextEngine& engine = TTextEngine::Raster());
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The bitmap keeps its size and pixels when the new size cannot be made.
  void SetSize(int32_t width, int32_t height);
  void SetWidth(int32_t width) { SetSize(width, height_); }
  void SetHeight(int32_t height) { SetSize(width_, height); }

  // Row y: Width() pixels laid out as the pixel format says.
  uint8_t* ScanLine(int32_t y);

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  // The pixels as drawn so far, text that the canvas still held back included: what a copy
  // onto another canvas takes.
  const QImage& Image();

 private:
  TPixelFormat format_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  QImage image_;
  TCanvas canvas_;
};
