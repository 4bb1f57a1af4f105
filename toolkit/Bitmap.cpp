#include "toolkit/Bitmap.h"

#include <string>

TBitmap::TBitmap(TPixelFormat format, TTextEngine& engine) : format_(format), canvas_(&image_, engine) {}

void TBitmap::SetSize(int32_t width, int32_t height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      int64_t(width) * height > kMaxPixels)
    throw EOutOfResources("A bitmap of " + std::to_string(width) + " × " + std::to_string(height) +
                          " pixels cannot be made: the largest is " + std::to_string(kMaxSide) +
                          " pixels a side and " + std::to_string(kMaxPixels / (1024 * 1024)) +
                          " megapixels in all.");
  QImage image;
  if (width > 0 && height > 0) {
    image = QImage(width, height, format_ == TPixelFormat::pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32);
    if (image.isNull())
      throw EOutOfResources("Not enough memory for a bitmap of " + std::to_string(width) + " × " +
                            std::to_string(height) + " pixels.");
    image.fill(Qt::white);
  }
  canvas_.Release();
  image_ = std::move(image);
  width_ = width;
  height_ = height;
}

uint8_t* TBitmap::ScanLine(int32_t y) {
  canvas_.Release();
  return image_.scanLine(y);
}

const QImage& TBitmap::Image() {
  canvas_.Release();
  return image_;
}
