#include "toolkit/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

QRgb Pixel(TBitmap& bitmap, int x, int y) { return bitmap.Image().pixel(x, y) | 0xFF000000; }

TEST(BitmapTest, RowsHoldBlueGreenRed) {
  TBitmap bitmap;
  bitmap.SetSize(4, 2);
  uint8_t* row = bitmap.ScanLine(1);
  row[3 * 2 + 0] = 10;   // blue
  row[3 * 2 + 1] = 20;   // green
  row[3 * 2 + 2] = 250;  // red
  EXPECT_EQ(Pixel(bitmap, 2, 1), qRgb(250, 20, 10));
  EXPECT_EQ(Pixel(bitmap, 0, 0), qRgb(255, 255, 255)) << "a new bitmap is white";
}

TEST(BitmapTest, SizeItCannotTakeKeepsSizeAndPixels) {
  TBitmap bitmap;
  bitmap.SetSize(30, 20);
  bitmap.Canvas().Brush.Color = clRed;
  bitmap.Canvas().FillRect({0, 0, 30, 20});
  for (const auto& [w, h] : {std::pair{99999999, 20}, {30, 32768}, {10000, 10000}, {-1, 5}}) {
    EXPECT_THROW(bitmap.SetSize(w, h), EOutOfResources) << w << " x " << h;
    EXPECT_EQ(std::make_pair(bitmap.Width(), bitmap.Height()), std::make_pair(30, 20));
  }
  EXPECT_EQ(Pixel(bitmap, 29, 19), qRgb(255, 0, 0));
  bitmap.SetSize(0, 20);
  EXPECT_EQ(bitmap.Width(), 0);
  bitmap.Canvas().FillRect({0, 0, 10, 10});  // nothing to paint on, and no harm
}

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() {
    bitmap.SetSize(60, 30);
    bitmap.Canvas().Brush.Color = RGBToColor(0, 255, 0);
    bitmap.Canvas().FillRect({0, 0, 60, 30});
    bitmap.Canvas().Font().Color = clBlack;
  }
  template <typename Pred>
  int Count(Pred pred) {
    const QImage image = bitmap.Image().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += pred(image.pixel(x, y));
    return n;
  }
  TBitmap bitmap;
};

TEST_F(CanvasTest, SolidBrushPaintsTheCellClearBrushOnlyTheGlyphs) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clWhite;
  canvas.TextOut(2, 3, std::string_view("Wg"));
  const int w = canvas.TextWidth(std::string_view("Wg")), h = canvas.TextHeight(std::string_view("Wg"));
  EXPECT_GT(w, 0);
  EXPECT_EQ(h, canvas.TextHeight(std::string_view("")));
  EXPECT_EQ(Pixel(bitmap, 2, 3), qRgb(255, 255, 255));
  EXPECT_EQ(Pixel(bitmap, 2 + w - 1, 3 + h - 1), qRgb(255, 255, 255));
  EXPECT_EQ(Pixel(bitmap, 2 + w, 3), qRgb(0, 255, 0));

  bitmap.Canvas().Brush.Color = RGBToColor(0, 255, 0);
  bitmap.Canvas().FillRect({0, 0, 60, 30});
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.TextOut(2, 3, std::string_view("Wg"));
  EXPECT_GT(Count([](QRgb c) { return qGreen(c) < 100; }), 5) << "dark glyph pixels";
  EXPECT_EQ(Count([](QRgb c) { return qRed(c) > qGreen(c) || qBlue(c) > qGreen(c); }), 0) << "no background box";
}

TEST_F(CanvasTest, StretchDrawRepeatsARowAndDrawCopiesBlocks) {
  TBitmap ramp;
  ramp.SetSize(4, 2);
  for (int x = 0; x < 4; ++x) {  // a red ramp in row 1
    uint8_t* pixel = ramp.ScanLine(1) + 3 * x;
    pixel[0] = pixel[1] = 0;
    pixel[2] = static_cast<uint8_t>(x * 80);
  }
  bitmap.Canvas().StretchDraw({10, 5, 14, 15}, ramp.Image(), {0, 1, 4, 2});
  for (int y = 5; y < 15; ++y)
    for (int x = 10; x < 14; ++x) EXPECT_EQ(Pixel(bitmap, x, y), qRgb((x - 10) * 80, 0, 0)) << x << "," << y;
  EXPECT_EQ(Pixel(bitmap, 10, 15), qRgb(0, 255, 0));

  bitmap.Canvas().Draw(50, 20, ramp.Image());
  EXPECT_EQ(Pixel(bitmap, 53, 21), qRgb(240, 0, 0));
  EXPECT_EQ(Pixel(bitmap, 50, 20), qRgb(255, 255, 255));
}

// A canvas scaled by 3: the copied image's pixels become 3 x 3 squares from the scaled corner.
// Text scales too, also on 32 bits, where it is otherwise stamped at its cell's own pixels.
TEST_F(CanvasTest, AScaledCanvasScalesImagesAndText) {
  TBitmap ramp;
  ramp.SetSize(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      uint8_t* pixel = ramp.ScanLine(y) + 3 * x;
      pixel[0] = static_cast<uint8_t>(100 * y);
      pixel[1] = 0;
      pixel[2] = static_cast<uint8_t>(x * 80);
    }
  bitmap.Canvas().SetScale(3);
  bitmap.Canvas().Draw(1, 2, ramp.Image());
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inside = x >= 3 && x < 15 && y >= 6 && y < 12;
      const QRgb expected = inside ? qRgb((x - 3) / 3 * 80, 0, (y - 6) / 3 * 100) : qRgb(0, 255, 0);
      ASSERT_EQ(Pixel(bitmap, x, y), expected) << x << "," << y;
    }
  // Back at 1, a copy is a block copy again.
  bitmap.Canvas().SetScale(1);
  bitmap.Canvas().Draw(50, 20, ramp.Image());
  EXPECT_EQ(Pixel(bitmap, 53, 21), qRgb(240, 0, 100));
  EXPECT_EQ(Pixel(bitmap, 54, 21), qRgb(0, 255, 0));

  // Ink of "W" at 2 lies beyond the cell it has at 1, and within the cell at 2.
  TBitmap wide(TPixelFormat::pf32bit);
  wide.SetSize(80, 60);
  TCanvas& canvas = wide.Canvas();
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Font().Color = clBlack;
  const int w = canvas.TextWidth(std::string_view("W")), h = canvas.TextHeight(std::string_view("W"));
  canvas.SetScale(2);
  canvas.TextOut(0, 0, std::string_view("W"));
  int beyond = 0, outside = 0;
  const QImage image = wide.Image().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
      beyond += x >= w || y >= h;
      outside += x >= 2 * w + 2 || y >= 2 * h + 2;
    }
  EXPECT_GT(beyond, 10);
  EXPECT_EQ(outside, 0);
}

struct LineCase {
  const char* name;
  int x0, y0, x1, y1, width;
  std::vector<QPoint> painted;
};

TEST_F(CanvasTest, LinesCoverTheirStartButNotTheirEndInEveryDirection) {
  const LineCase cases[] = {
      {"right", 5, 5, 8, 5, 1, {{5, 5}, {6, 5}, {7, 5}}},
      {"left", 8, 5, 5, 5, 1, {{8, 5}, {7, 5}, {6, 5}}},
      {"down", 5, 5, 5, 7, 1, {{5, 5}, {5, 6}}},
      {"up", 5, 7, 5, 5, 1, {{5, 7}, {5, 6}}},
      {"diagonal", 5, 5, 8, 8, 1, {{5, 5}, {6, 6}, {7, 7}}},
      {"wide", 10, 10, 12, 10, 3, {{10, 9}, {11, 9}, {10, 10}, {11, 10}, {10, 11}, {11, 11}}},
      {"wide up", 10, 12, 10, 10, 3, {{9, 12}, {10, 12}, {11, 12}, {9, 11}, {10, 11}, {11, 11}}},
  };
  for (const LineCase& c : cases) {
    bitmap.Canvas().Brush.Color = RGBToColor(0, 255, 0);
    bitmap.Canvas().FillRect({0, 0, 60, 30});
    bitmap.Canvas().Pen.Color = clRed;
    bitmap.Canvas().Pen.Width = c.width;
    bitmap.Canvas().MoveTo(c.x0, c.y0);
    bitmap.Canvas().LineTo(c.x1, c.y1);
    std::vector<QPoint> painted;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 60; ++x)
        if (Pixel(bitmap, x, y) == qRgb(255, 0, 0)) painted.push_back({x, y});
    std::vector<QPoint> expected = c.painted;
    const auto byRow = [](const QPoint& a, const QPoint& b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); };
    std::sort(expected.begin(), expected.end(), byRow);
    EXPECT_EQ(painted, expected) << c.name;
  }
}

TEST_F(CanvasTest, FramesStayInsideTheirRectangle) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clBlack;
  canvas.FrameRect({20, 10, 27, 17});
  EXPECT_EQ(Pixel(bitmap, 20, 10), qRgb(0, 0, 0));
  EXPECT_EQ(Pixel(bitmap, 26, 16), qRgb(0, 0, 0));
  EXPECT_EQ(Pixel(bitmap, 21, 11), qRgb(0, 255, 0));
  EXPECT_EQ(Pixel(bitmap, 27, 17), qRgb(0, 255, 0));
}

TEST_F(CanvasTest, TextHeldBackPaintsWhatImmediateTextPaints) {
  // Overlapping characters of two colours and two faces, so that the order of painting shows.
  const auto paint = [](bool paintEachAtOnce) {
    TBitmap bitmap(TPixelFormat::pf32bit);
    bitmap.SetSize(80, 30);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Style = TBrushStyle::Clear;
    int x = 2;
    for (const char* ch : {"W", "a", "\xE6\x97\xA5", "g", "M", "\xE6\x9C\xAC", "y"}) {
      canvas.Font().Color = x % 2 ? clRed : RGBToColor(0, 0, 200);
      canvas.TextOut(x, 4, std::string_view(ch));
      if (paintEachAtOnce) bitmap.Image();
      x += canvas.TextWidth(std::string_view(ch)) - 3;
    }
    return bitmap.Image().copy();
  };
  const QImage batched = paint(false);
  EXPECT_EQ(batched, paint(true));
  EXPECT_NE(batched, QImage(batched.size(), batched.format()));
}

TEST_F(CanvasTest, ShapesAndTextAtTheEdgesOf32BitsPaintNothingAndDoNotOverflow) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clRed;
  canvas.TextOut(INT32_MAX - 3, INT32_MAX - 3, std::string_view("Wg"));
  canvas.TextOut(INT32_MIN, INT32_MIN, std::string_view("Wg"));
  canvas.FillRect({INT32_MIN, INT32_MIN, INT32_MIN + 5, INT32_MAX});
  canvas.FrameRect({INT32_MAX - 5, 0, INT32_MAX, 30});
  canvas.MoveTo(INT32_MIN, 5);
  canvas.LineTo(INT32_MIN + 3, 5);
  EXPECT_EQ(Count([](QRgb c) { return c != qRgb(0, 255, 0); }), 0);
}

}  // namespace
