#pragma once
// Measures and draws text given as bytes in the system code page, one call per string.
// The drawing surface hands its text work to an engine, so that a surface with fixed,
// known metrics can stand in for the real one.
#include "toolkit/Font.h"

#include <cstdint>
#include <memory>
#include <string_view>

class QPainter;

// How far beyond its character cell a glyph of a font whose lines are `lineHeight` high can
// paint, at most: a cell farther off a device than this paints nothing on it.
constexpr int64_t MaxGlyphReach(int64_t lineHeight) { return 8 * (lineHeight + 16); }

class TTextEngine {
 public:
  virtual ~TTextEngine() = default;

  // The width and the height of the one-line extent of `bytes` in `font`.
  virtual int32_t TextWidth(const TFont& font, std::string_view bytes) = 0;
  virtual int32_t TextHeight(const TFont& font, std::string_view bytes) = 0;
  // Paints the glyphs of `bytes` in the font's colour; (x, y) is the top-left corner of the
  // string's character cell.
  virtual void TextOut(QPainter& painter, int32_t x, int32_t y, const TFont& font,
                       std::string_view bytes) = 0;

  // Ends a stretch of text output: paints anything the engine held back and forgets what it
  // learnt of the painter's device and of the system colours. The canvas calls this before any
  // other drawing and before it ends painting.
  virtual void Flush() {}

  // Qt's raster engine: each character of each font is rendered by Qt once, and its coverage
  // blended into 32-bit images from then on. The windows' thread uses this one.
  static TTextEngine& Raster();
  // A raster engine of its own, for a thread that draws beside the windows' thread: an engine
  // keeps what it learnt of fonts and painters, and serves one thread.
  static std::unique_ptr<TTextEngine> NewRaster();
};
