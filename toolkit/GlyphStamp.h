#pragma once
// A character's pixels as Qt's raster engine paints them, kept as 8-bit coverage and blended
// straight into 32-bit rows: what one text call per character costs, without the call.
#include "toolkit/Colors.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The pixels of a Format_RGB32 image as rows of 32-bit words.
struct TPixelRows {
  uint32_t* bits = nullptr;
  int32_t width = 0, height = 0;
  qsizetype stride = 0;  // words from one row to the next

  static TPixelRows Of(QImage& image);
};

class TGlyphStamp {
 public:
  // Renders `text` once in white on black with the character cell's top-left corner at a known
  // place, and keeps the lit pixels' coverage. None when the glyphs reach farther than any
  // margin tried.
  static std::optional<TGlyphStamp> Capture(const QFont& font, const QString& text, int32_t cellWidth);

  // Blends the coverage in `argb` into the rows, with the character cell's top-left corner at
  // (x, y); pixels off the rows are left out.
  void Blend(const TPixelRows& rows, int32_t x, int32_t y, uint32_t argb) const;

  // Rows of pixels and the coverage to blend into them.
  struct Area {
    uint32_t* pixels;
    qsizetype pixelStride;
    const uint8_t* coverage;
    qsizetype coverageStride;
    int64_t width, rows;
  };
  // Ways of blending that this processor has, the widest first; stamps use the first. All give
  // the same pixels.
  struct Blender {
    using Function = void (*)(const Area& area, uint32_t argb);
    const char* name;
    Function function;
  };
  static std::vector<Blender> Blenders();

  // An opaque pixel of a plain RGB colour (not a system colour reference).
  static uint32_t Argb(TColor rgb) {
    return 0xFF000000u | (uint32_t(rgb & 0xFF) << 16) | (uint32_t(rgb) & 0xFF00) | ((uint32_t(rgb) >> 16) & 0xFF);
  }

 private:
  // Offset of the coverage's top-left pixel from the cell's top-left corner, and its size.
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::vector<uint8_t> coverage_;  // rows of width_ bytes
};
