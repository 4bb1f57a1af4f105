#pragma once
// A drawing surface: a font, a brush and a pen over an image or a widget being painted.
#include "toolkit/Font.h"
#include "toolkit/TextEngine.h"

#include <QPainter>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

class QImage;
class QPaintDevice;

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // right and bottom edges excluded
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

enum class TBrushStyle : uint8_t { Solid, Clear };

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
};

class TCanvas {
 public:
  TCanvas(QPaintDevice* device, TTextEngine& engine = TTextEngine::Raster());
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The surface's own font object; a caller that changes it changes what the surface draws with.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }

  TBrush Brush;
  TPen Pen;

  // Everything drawn is scaled by `scale` (> 0) from the device's top-left corner: above 1 the
  // pixels of an image that Draw copies become sharp squares, below 1 they are smoothed. At 1,
  // the start, nothing is transformed: Draw is a block copy.
  double Scale() const { return scale_; }
  void SetScale(double scale);

  void FillRect(const TRect& rect);
  // A one-pixel frame along the inside of `rect`, in the brush colour.
  void FrameRect(const TRect& rect);
  void MoveTo(int32_t x, int32_t y);
  // A line from the pen position to (x, y) in the pen's colour and width, the end point excluded.
  void LineTo(int32_t x, int32_t y);

  // Text given as bytes in the system code page.
  int32_t TextWidth(std::string_view bytes) { return engine_.TextWidth(font_, bytes); }
  int32_t TextHeight(std::string_view bytes) { return engine_.TextHeight(font_, bytes); }
  // (x, y) is the top-left corner of the character cell. A solid brush paints the cell first;
  // a clear brush leaves everything but the glyphs as it was.
  void TextOut(int32_t x, int32_t y, std::string_view bytes);

  // Text given as Unicode, for what the windows show.
  int32_t TextWidth(const QString& text) const;
  int32_t TextHeight(const QString& text) const;
  void TextOut(int32_t x, int32_t y, const QString& text);

  // Block copy of the whole image with its top-left corner at (x, y), scaled by Scale().
  void Draw(int32_t x, int32_t y, const QImage& image);
  // Copies `source` of the image onto `dest`, repeating pixels where it stretches.
  void StretchDraw(const TRect& dest, const QImage& image, const TRect& source);

  // Ends painting, so that the device can be read, resized or painted elsewhere; the next
  // drawing call begins again.
  void Release();

 private:
  QPainter* Painter();  // null where the device has no pixels
  // The painter, once the text that the engine held back is painted: what every drawing but
  // text output begins with, so that later drawing covers earlier text.
  QPainter* FlushedPainter();
  void ApplyScale();

  QPaintDevice* device_;
  TTextEngine& engine_;
  TFont font_;
  std::optional<QPainter> painter_;
  int32_t penX_ = 0, penY_ = 0;
  double scale_ = 1;
};
