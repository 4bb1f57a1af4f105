#include "toolkit/PaintBox.h"

#include "toolkit/Application.h"
#include "toolkit/UiFont.h"

#include <QMouseEvent>

#include <optional>

namespace {
TShiftState ShiftState(const QMouseEvent* event) {
  TShiftState shift = 0;
  const Qt::KeyboardModifiers keys = event->modifiers();
  if (keys & Qt::ShiftModifier) shift |= ssShift;
  if (keys & Qt::AltModifier) shift |= ssAlt;
  if (keys & Qt::ControlModifier) shift |= ssCtrl;
  const Qt::MouseButtons buttons = event->buttons();
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

std::optional<TMouseButton> Button(const QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}
}  // namespace

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent), Font(UiFont()), canvas_(this) {
  // Moves reach the handler also with no button held, as every pointer move over a control.
  setMouseTracking(true);
}

void TPaintBox::SetOpaque(bool opaque) {
  setAttribute(Qt::WA_OpaquePaintEvent, opaque);
  setAttribute(Qt::WA_NoSystemBackground, opaque);
}

void TPaintBox::paintEvent(QPaintEvent*) {
  canvas_.SetFont(Font);
  if (OnPaint) Guarded(OnPaint);
  canvas_.Release();
}

void TPaintBox::MouseButtonEvent(const TMouseEvent& handler, QMouseEvent* event, TShiftState extra) {
  const std::optional<TMouseButton> button = Button(event);
  if (!handler || !button) return;
  const QPoint at = event->position().toPoint();
  Guarded([&] { handler(*button, ShiftState(event) | extra, at.x(), at.y()); });
}

void TPaintBox::mousePressEvent(QMouseEvent* event) { MouseButtonEvent(OnMouseDown, event, 0); }

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  MouseButtonEvent(OnMouseDown, event, ssDouble);
  if (!OnDblClick || event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  Guarded([&] { OnDblClick(ShiftState(event) | ssDouble, at.x(), at.y()); });
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (!OnMouseMove) return;
  const QPoint at = event->position().toPoint();
  Guarded([&] { OnMouseMove(ShiftState(event), at.x(), at.y()); });
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) { MouseButtonEvent(OnMouseUp, event, 0); }
