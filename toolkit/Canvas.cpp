#include "toolkit/Canvas.h"

#include "toolkit/Bitmap.h"

#include <QFontMetrics>
#include <QImage>

namespace {
QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
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
  }
  return &*painter_;
}

QPainter* TCanvas::Begin() {
  QPainter* p = Painter();
  if (p) engine_.Flush();
  return p;
}

void TCanvas::FillRect(const TRect& rect) {
  if (QPainter* p = Begin()) p->fillRect(ToQRect(rect), ToQColor(Brush.Color));
}

void TCanvas::FrameRect(const TRect& rect) {
  QPainter* p = Begin();
  if (!p || rect.Width() <= 0 || rect.Height() <= 0) return;
  const QColor color = ToQColor(Brush.Color);
  p->fillRect(QRect(rect.Left, rect.Top, rect.Width(), 1), color);
  p->fillRect(QRect(rect.Left, rect.Bottom - 1, rect.Width(), 1), color);
  p->fillRect(QRect(rect.Left, rect.Top, 1, rect.Height()), color);
  p->fillRect(QRect(rect.Right - 1, rect.Top, 1, rect.Height()), color);
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

void TCanvas::LineTo(int32_t x, int32_t y) {
  if (QPainter* p = Begin()) {
    // A flat cap leaves the end point out, as the platform's lines do.
    QPen pen(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::FlatCap);
    p->setPen(pen);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->drawLine(QPoint(penX_, penY_), QPoint(x, y));
  }
  MoveTo(x, y);
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
  QPainter* p = Painter();
  if (!p) return;
  if (Brush.Style == TBrushStyle::Solid)
    FillRect({x, y, x + TextWidth(bytes), y + TextHeight(bytes)});
  engine_.TextOut(*p, x, y, font_, bytes);
}

int32_t TCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(font_.ToQFont()).horizontalAdvance(text);
}

int32_t TCanvas::TextHeight(const QString&) const { return QFontMetrics(font_.ToQFont()).height(); }

void TCanvas::TextOut(int32_t x, int32_t y, const QString& text) {
  QPainter* p = Begin();
  if (!p) return;
  const QFont font = font_.ToQFont();
  const QFontMetrics metrics(font);
  if (Brush.Style == TBrushStyle::Solid)
    p->fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), ToQColor(Brush.Color));
  p->setFont(font);
  p->setPen(ToQColor(font_.Color));
  p->drawText(QPoint(x, y + metrics.ascent()), text);
}

void TCanvas::Draw(int32_t x, int32_t y, TBitmap& bitmap) {
  const QImage& image = bitmap.Image();
  if (QPainter* p = Begin(); p && !image.isNull()) p->drawImage(QPoint(x, y), image);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap& bitmap, const TRect& source) {
  const QImage& image = bitmap.Image();
  QPainter* p = Begin();
  if (!p || image.isNull()) return;
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->drawImage(ToQRect(dest), image, ToQRect(source));
}
