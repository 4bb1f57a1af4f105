#include "app/Zoom.h"

#include "tests/support/PrintTo.h"
#include "toolkit/Checked.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(ZoomTest, LengthsOnTheScreenAreRoundedAndNeverNothing) {
  struct Case {
    TZoom zoom;
    int32_t length, view;
  };
  const Case cases[] = {{{1, 1}, 200, 200},   {{3, 1}, 200, 600},      {{1, 3}, 200, 67}, {{2, 3}, 200, 133},
                        {{1, 8}, 4, 1},       {{1, 8}, 3, 1},          {{1, 8}, 12, 2},   {{3, 2}, 3, 5},
                        {{16, 1}, 32767, 524272}, {{250, 999}, 999, 250}};
  for (const Case& c : cases) EXPECT_EQ(c.zoom.ToView(c.length), c.view) << ::testing::PrintToString(c.zoom);
}

TEST(ZoomTest, AViewPixelShowsTheCanvasPixelItsPositionOverTheZoomRoundsDownTo) {
  struct Case {
    TZoom zoom;
    int32_t position, pixel;
  };
  const Case cases[] = {{{4, 1}, 40, 10},  {{4, 1}, 42, 10}, {{4, 1}, 44, 11},  {{4, 1}, -1, -1},
                        {{4, 1}, -4, -1},  {{4, 1}, -5, -2}, {{1, 3}, 5, 15},   {{3, 2}, 5, 3},
                        {{2, 3}, -1, -2},  {{1, 1}, INT32_MIN, INT32_MIN},      {{1, 1}, INT32_MAX, INT32_MAX},
                        {{16, 1}, INT32_MAX, INT32_MAX / 16}};
  for (const Case& c : cases)
    EXPECT_EQ(c.zoom.ToCanvas(c.position), c.pixel) << ::testing::PrintToString(c.zoom) << " at " << c.position;
  EXPECT_THROW(TZoom({1, 8}).ToCanvas(INT32_MAX / 4), EIntOverflow);
  EXPECT_THROW(TZoom({1, 2}).ToCanvas(INT32_MIN), EIntOverflow);
}

TEST(ZoomTest, ThePercentageIsRounded) {
  EXPECT_EQ(TZoom({1, 1}).Percent(), "100%");
  EXPECT_EQ(TZoom({1, 3}).Percent(), "33%");
  EXPECT_EQ(TZoom({2, 3}).Percent(), "67%");
  EXPECT_EQ(TZoom({1, 8}).Percent(), "13%");
  EXPECT_EQ(TZoom({16, 1}).Percent(), "1600%");
  EXPECT_EQ(TZoom({250, 999}).Percent(), "25%");
}

TEST(ZoomTest, TheStepsGoFromAnEighthToSixteenAndStopAtTheirBounds) {
  std::vector<TZoom> up{TZoom{1, 8}};
  while (up.size() < 20) up.push_back(ZoomIn(up.back()));
  const std::vector<TZoom> steps = {{1, 8}, {1, 4}, {1, 3}, {1, 2}, {2, 3}, {1, 1}, {3, 2},
                                    {2, 1}, {3, 1}, {4, 1}, {6, 1}, {8, 1}, {12, 1}, {16, 1}};
  EXPECT_EQ(std::vector<TZoom>(up.begin(), up.begin() + 14), steps);
  EXPECT_EQ(up.back(), (TZoom{16, 1}));
  EXPECT_EQ(std::vector<TZoom>(ZoomSteps().begin(), ZoomSteps().end()), steps);
  for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_EQ(ZoomOut(steps[i]), steps[i - 1]);
  EXPECT_EQ(ZoomOut(TZoom{1, 8}), (TZoom{1, 8}));
  // From between two steps, to the next one either way; equal values are one zoom.
  EXPECT_EQ(ZoomIn(TZoom{300, 999}), (TZoom{1, 3}));
  EXPECT_EQ(ZoomOut(TZoom{300, 999}), (TZoom{1, 4}));
  EXPECT_EQ(ZoomIn(TZoom{2, 4}), (TZoom{2, 3}));
  EXPECT_EQ(ZoomOut(TZoom{2, 4}), (TZoom{1, 3}));
}

TEST(ZoomTest, FitShowsTheWholeCanvasAtTheLargestZoomWithinTheBounds) {
  EXPECT_EQ(FitZoom(QSize(999, 999), QSize(300, 250)), (TZoom{250, 999}));
  EXPECT_EQ(FitZoom(QSize(200, 100), QSize(400, 400)), (TZoom{2, 1}));
  EXPECT_EQ(FitZoom(QSize(200, 200), QSize(343, 272)), (TZoom{34, 25}));
  EXPECT_EQ(FitZoom(QSize(10, 10), QSize(1000, 1000)), (TZoom{16, 1}));
  EXPECT_EQ(FitZoom(QSize(32767, 1), QSize(100, 100)), (TZoom{1, 8}));
  EXPECT_EQ(FitZoom(QSize(200, 200), QSize(0, 0)), (TZoom{1, 8}));
  const TZoom fit = FitZoom(QSize(999, 700), QSize(343, 272));
  EXPECT_EQ(fit.ToView(999), 343);
  EXPECT_LE(fit.ToView(700), 272);
}

}  // namespace
