#include "app/Render.h"

#include "toolkit/Canvas.h"

#include <algorithm>

namespace {

QImage PaintOn(TZeltoZelto& composition, TColor background) {
  TCanvas& surface = composition.Bitmap.Canvas();
  const TColor fill = surface.Brush.Color;
  surface.Brush.Color = background;
  {
    // The bitmap is the picture: Paint's copy of it onto a screen has nowhere to go.
    QImage none;
    TCanvas canvas(&none);
    composition.Paint(canvas);
  }
  surface.Brush.Color = fill;
  return composition.Bitmap.Image();
}

}  // namespace

std::optional<TBackground> TBackground::Parse(const QString& text) {
  if (text == QLatin1String("transparent")) return TBackground{TKind::Transparent, clWhite};
  const std::optional<TColor> rgb = ColorFromHex(text);
  if (!rgb) return std::nullopt;
  return TBackground{TKind::Color, *rgb};
}

QImage PaintPicture(TZeltoZelto& composition, const TBackground& background) {
  if (background.Kind != TBackground::TKind::Transparent)
    return PaintOn(composition, background.Kind == TBackground::TKind::Color ? background.Color : clWhite);
  const QImage onWhite = PaintOn(composition, clWhite);
  const QImage onBlack = PaintOn(composition, clBlack);
  QImage picture(onWhite.size(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    const auto* white = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
    const auto* black = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      // Over black a pixel is its colour times its alpha; over white that plus what shows through.
      const int through = std::max({qRed(white[x]) - qRed(black[x]), qGreen(white[x]) - qGreen(black[x]),
                                    qBlue(white[x]) - qBlue(black[x]), 0});
      const int alpha = 255 - through;
      const auto channel = [alpha](int premultiplied) {
        return alpha == 0 ? 0 : std::min(255, (premultiplied * 255 + alpha / 2) / alpha);
      };
      out[x] = qRgba(channel(qRed(black[x])), channel(qGreen(black[x])), channel(qBlue(black[x])), alpha);
    }
  }
  return picture;
}

QImage Thumbnail(const QImage& picture, int size) {
  if (picture.width() <= size && picture.height() <= size) return picture;
  return picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
