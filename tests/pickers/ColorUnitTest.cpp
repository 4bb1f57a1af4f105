#include "pickers/ColorUnit.h"
#include "pickers/Misc.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// --- The palette and the slider drawing routines ---

TEST(Palette216Test, RunsRedMajorThroughTheSixLevels) {
  const char* levels[] = {"00", "33", "66", "99", "cc", "ff"};
  std::set<std::string_view> distinct;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) {
        const std::string expected = std::string("#") + levels[r] + levels[g] + levels[b];
        EXPECT_EQ(Palette216[36 * r + 6 * g + b], expected) << r << g << b;
        distinct.insert(Palette216[36 * r + 6 * g + b]);
      }
  EXPECT_EQ(distinct.size(), 216u);
  EXPECT_EQ(Palette216.front(), "#000000");
  EXPECT_EQ(Palette216[1], "#000033");
  EXPECT_EQ(Palette216[6], "#003300");
  EXPECT_EQ(Palette216.back(), "#ffffff");
}

TEST(HexToColorTest, ReadsRedGreenBlueAndFallsBackOnBadDigits) {
  struct Case {
    std::string_view text;
    TColor expected;
  };
  const Case cases[] = {
      {"#000000", 0},
      {"#ff0000", 255},
      {"#00ff00", 65280},
      {"#0000ff", 16711680},
      {"#336699", 0x996633},
      {"#FFcC33", 0x33CCFF},   // upper- and lower-case digits alike
      {"#ffffff", 16777215},
      {"#12345g", -7},         // not hexadecimal: the default
      {"#-10000", -7},
      {"# 00000", -7},
  };
  for (const Case& c : cases) EXPECT_EQ(HexToColor(c.text, -7), c.expected) << c.text;
}

TEST(BuildGradientBitmapTest, HoldsTheThreeChannelRamps) {
  TBitmap bitmap;
  BuildGradientBitmap(bitmap);
  ASSERT_EQ(bitmap.Width(), 256);
  ASSERT_EQ(bitmap.Height(), 3);
  const QImage& image = bitmap.Image();
  for (int x : {0, 1, 51, 128, 254, 255}) {
    EXPECT_EQ(image.pixelColor(x, 0), QColor(x, 0, 0)) << x;
    EXPECT_EQ(image.pixelColor(x, 1), QColor(0, x, 0)) << x;
    EXPECT_EQ(image.pixelColor(x, 2), QColor(0, 0, x)) << x;
  }
}

// A black bitmap to draw white strokes on.
struct Blackboard {
  TBitmap bitmap;
  Blackboard() {
    bitmap.SetSize(24, 24);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect({0, 0, 24, 24});
    bitmap.Canvas().Pen.Color = clWhite;
  }
  bool White(int x, int y) { return bitmap.Image().pixelColor(x, y) == Qt::white; }
};

TEST(DrawLineByTest, LeavesTheEndPointOut) {
  struct Case {
    int x, y, dx, dy;
  };
  const Case cases[] = {{3, 5, 4, 0}, {0, 0, 2, 0}, {9, 2, 0, 6}, {20, 21, 0, 2}};
  for (const Case& c : cases) {
    Blackboard board;
    DrawLineBy(board.bitmap.Canvas(), c.x, c.y, c.dx, c.dy);
    const int sx = c.dx > 0 ? 1 : 0;
    const int sy = c.dy > 0 ? 1 : 0;
    for (int i = 0; i < c.dx + c.dy; ++i)
      EXPECT_TRUE(board.White(c.x + i * sx, c.y + i * sy)) << c.x << "," << c.y << " step " << i;
    EXPECT_FALSE(board.White(c.x + c.dx, c.y + c.dy)) << "end point of " << c.x << "," << c.y;
  }
}

TEST(DrawSliderMarkerTest, DrawsFourThickArmsAroundAnOpenCentre) {
  Blackboard board;
  TCanvas& canvas = board.bitmap.Canvas();
  canvas.Pen.Width = 1;
  DrawSliderMarker(canvas, 10, 10);
  EXPECT_EQ(canvas.Pen.Width, 1);  // restored
  // Each arm is 2 pixels long and 3 wide.
  const QPoint arms[] = {{6, 9},  {6, 10},  {6, 11},  {7, 9},  {7, 10},  {7, 11},
                         {12, 9}, {12, 10}, {12, 11}, {13, 9}, {13, 10}, {13, 11},
                         {9, 6},  {10, 6},  {11, 6},  {9, 7},  {10, 7},  {11, 7},
                         {9, 12}, {10, 12}, {11, 12}, {9, 13}, {10, 13}, {11, 13}};
  for (QPoint p : arms) EXPECT_TRUE(board.White(p.x(), p.y())) << p.x() << "," << p.y();
  int white = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) white += board.White(x, y);
  EXPECT_EQ(white, 24);  // nothing beyond the arms
  for (QPoint p : {QPoint(10, 10), QPoint(9, 10), QPoint(11, 10), QPoint(10, 9), QPoint(10, 11),
                   QPoint(8, 10), QPoint(10, 8)})
    EXPECT_FALSE(board.White(p.x(), p.y())) << "centre " << p.x() << "," << p.y();
}

TEST(GetControlScreenRectTest, IsTheClientAreaOnTheScreen) {
  QWidget window;
  window.setGeometry(300, 200, 100, 80);
  QWidget child(&window);
  child.setGeometry(8, 24, 56, 12);
  window.show();
  const QPoint origin = window.geometry().topLeft();
  const TRect rect = GetControlScreenRect(child);
  EXPECT_EQ(rect, (TRect{origin.x() + 8, origin.y() + 24, origin.x() + 64, origin.y() + 36}));
}

}  // namespace
