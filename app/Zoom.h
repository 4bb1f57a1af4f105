#pragma once
// The zoom of the main window's view of the canvas: how many screen pixels show one canvas pixel,
// kept as a fraction so that sizes and pointer positions convert exactly at every zoom.
#include <QSize>
#include <QString>

#include <cstdint>
#include <span>

struct TZoom {
  int32_t Numerator = 1;    // > 0
  int32_t Denominator = 1;  // > 0

  double Scale() const { return double(Numerator) / Denominator; }
  // A canvas length on the screen, rounded, and never less than one pixel.
  int32_t ToView(int32_t length) const;
  // The canvas pixel that view pixel `position` shows: position / zoom, rounded down. A pixel
  // beyond 32 bits raises EIntOverflow.
  int32_t ToCanvas(int32_t position) const;
  // The view's size in percent, rounded: "100%", "33%", "1600%".
  QString Percent() const;

  // By value: 2/4 is 1/2.
  bool operator==(const TZoom& other) const;
  bool operator<(const TZoom& other) const;
};

// The zoom steps from 1/8 to 16, smallest first; the keys and the wheel go from one to the next.
std::span<const TZoom> ZoomSteps();
// The next step above `zoom` and the next below; at the bounds, the bound.
TZoom ZoomIn(TZoom zoom);
TZoom ZoomOut(TZoom zoom);
// The largest zoom within the steps' bounds that shows all of `canvas` in `view`.
TZoom FitZoom(QSize canvas, QSize view);
