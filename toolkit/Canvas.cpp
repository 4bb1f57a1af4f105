#include "toolkit/Canvas.h"

#include <QFontMetrics>
#include <QImage>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {
// The raster engine works in a far smaller range than 32-bit coordinates; whatever lies beyond
// this lies off every device and is clipped all the same.
constexpr int64_t kCoordinateLimit = 1 << 24;

int Clamp(int64_t v) { return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

QRect ToQRect(const TRect& r) {
  return QRect(QPoint(Clamp(r.Left), Clamp(r.Top)), QPoint(Clamp(int64_t(r.Right) - 1), Clamp(int64_t(r.Bottom) - 1)));
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}
}  // namespace

TCanvas::TCanvas(QPaintDevice* device, TTextEngine& engine) : device_(device), engine_(engine) {}

TCanvas::~TCanvas() { Release(); }

void TCanvas::Release() {
  if (painter_) engine_.Flush();
  painter_.reset();
}

QPainter* TCanvas::Painter() {
  if (!painter_) {
    // A bitmap of no pixels has nothing to paint on; drawing on it does nothing.
    if (device_->devType() == QInternal::Image && static_cast<QImage*>(device_)->isNull())
      return nullptr;
    painter_.emplace(device_);
    ApplyScale();
  }
  return &*painter_;
}

void TCanvas::SetScale(double scale) {
  scale_ = scale;
  if (!painter_) return;
  // Text output so far was placed under the scale before.
  engine_.Flush();
  ApplyScale();
}

void TCanvas::ApplyScale() {
  painter_->resetTransform();
  // No transformation at all at 1, so that an image is copied as one block.
  if (scale_ != 1) painter_->scale(scale_, scale_);
}

QPainter* TCanvas::FlushedPainter() {
  QPainter* p = Painter();
  if (p) engine_.Flush();
  return p;
}

void TCanvas::FillRect(const TRect& rect) {
  if (QPainter* p = FlushedPainter()) p->fillRect(ToQRect(rect), ToQColor(Brush.Color));
}

void TCanvas::FrameRect(const TRect& rect) {
  QPainter* p = FlushedPainter();
  const QRect r = ToQRect(rect);
  if (!p || r.isEmpty()) return;
  const QColor color = ToQColor(Brush.Color);
  p->fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
  p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
  p->fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
  p->fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  QPainter* p = FlushedPainter();
  if (p && (x != penX_ || y != penY_)) {
    // The line covers the pixels from the pen position up to, not including, (x, y), in any
    // direction: the last pixel is the one a step short of the end along the longer axis.
    const int64_t dx = int64_t(x) - penX_, dy = int64_t(y) - penY_;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const double steps = double(alongX ? std::llabs(dx) : std::llabs(dy)) - 1;
    const QPointF start(penX_ + 0.5, penY_ + 0.5);
    const QPointF last = start + QPointF(dx, dy) * (steps / (steps + 1));
    // Stroke between the outer edges of the first and the last pixel, the pen's width across.
    const QPointF direction = QPointF(dx, dy) / std::hypot(double(dx), double(dy));
    p->setPen(QPen(ToQColor(Pen.Color), std::max(1, Pen.Width), Qt::SolidLine, Qt::FlatCap));
    p->setRenderHint(QPainter::Antialiasing, false);
    p->drawLine(start - direction * 0.5, last + direction * 0.5);
  }
  MoveTo(x, y);
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
  QPainter* p = Painter();
  if (!p) return;
  if (Brush.Style == TBrushStyle::Solid)
    FillRect({x, y, SaturatingAdd(x, TextWidth(bytes)), SaturatingAdd(y, TextHeight(bytes))});
  engine_.TextOut(*p, x, y, font_, bytes);
}

int32_t TCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(font_.ToQFont()).horizontalAdvance(text);
}

int32_t TCanvas::TextHeight(const QString&) const { return QFontMetrics(font_.ToQFont()).height(); }

void TCanvas::TextOut(int32_t x, int32_t y, const QString& text) {
  QPainter* p = FlushedPainter();
  if (!p) return;
  const QFont font = font_.ToQFont();
  const QFontMetrics metrics(font);
  if (Brush.Style == TBrushStyle::Solid)
    p->fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), ToQColor(Brush.Color));
  p->setFont(font);
  p->setPen(ToQColor(font_.Color));
  p->drawText(QPoint(x, y + metrics.ascent()), text);
}

void TCanvas::Draw(int32_t x, int32_t y, const QImage& image) {
  QPainter* p = FlushedPainter();
  if (!p || image.isNull()) return;
  p->setRenderHint(QPainter::SmoothPixmapTransform, scale_ < 1);
  p->drawImage(QPoint(x, y), image);
}

void TCanvas::StretchDraw(const TRect& dest, const QImage& image, const TRect& source) {
  QPainter* p = FlushedPainter();
  if (!p || image.isNull()) return;
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->drawImage(ToQRect(dest), image, ToQRect(source));
}
