#pragma once
// Pictures of a composition made without windows: the very pixels its canvas shows, on the
// canvas's white or on another background, and thumbnails of them.
#include "model/Zelto.h"

#include <QImage>
#include <QString>

#include <optional>

struct TBackground {
  enum class TKind : uint8_t { White, Color, Transparent };
  TKind Kind = TKind::White;
  TColor Color = clWhite;

  // "transparent", or "#rrggbb" in either case; nothing for anything else.
  static std::optional<TBackground> Parse(const QString& text);
};

// The composition as it paints now: Width × Height pixels, 32-bit RGB; on a transparent
// background 32-bit ARGB, with alpha where nothing is drawn.
//
// A colour background is what the canvas fills before it draws the layers, so the text's pixels
// are the renderer's own over it. A transparent one is the composition painted over white and
// over black: where a pixel is the same on both nothing covers it, and where the two differ their
// difference is how much of the background shows through, which gives the pixel's alpha and
// colour. Composited over white again, the picture gives the plain picture back within one level.
QImage PaintPicture(TZeltoZelto& composition, const TBackground& background = {});

// `picture` scaled to fit `size` × `size` pixels, smoothly, its sides in proportion; a picture
// that fits already stays as it is.
QImage Thumbnail(const QImage& picture, int size);
