#pragma once
// A paint area: a control that draws nothing of its own but hands its paint and pointer events
// to the window's handlers, which it runs through the error report's guard.
#include "toolkit/Canvas.h"
#include "toolkit/Font.h"

#include <QWidget>

#include <cstdint>
#include <functional>

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : uint8_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = uint8_t;

class TPaintBox : public QWidget {
 public:
  using TPaintEvent = std::function<void()>;
  using TMouseEvent = std::function<void(TMouseButton button, TShiftState shift, int32_t x, int32_t y)>;
  using TMouseMoveEvent = std::function<void(TShiftState shift, int32_t x, int32_t y)>;
  using TDblClickEvent = std::function<void(TShiftState shift, int32_t x, int32_t y)>;

  explicit TPaintBox(QWidget* parent = nullptr);

  // The drawing surface on the control. It draws only while OnPaint runs; its font is the
  // toolkit's default for a new surface until the first paint, and Font from then on.
  TCanvas& Canvas() { return canvas_; }

  // The font the surface takes on when the control paints: the window's font.
  TFont Font;

  // An opaque paint area covers all of its pixels itself: nothing behind it is erased or
  // painted first, so repaint() draws it straight onto the screen without flicker.
  void SetOpaque(bool opaque);

  // Positions are the control's client pixels; the shift state includes the buttons held.
  TPaintEvent OnPaint;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  // A double-click of the left button, after its second press went to OnMouseDown (with
  // ssDouble), with the same shift state.
  TDblClickEvent OnDblClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void MouseButtonEvent(const TMouseEvent& handler, QMouseEvent* event, TShiftState extra);

  TCanvas canvas_;
};
