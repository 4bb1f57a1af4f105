#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/PaintBox.h"
#include "toolkit/UiFont.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Event {
  char kind;  // 'd' down, 'm' move, 'u' up, 'c' double-click
  TMouseButton button;
  TShiftState shift;
  int32_t x, y;
  bool operator==(const Event&) const = default;
};

class PaintBoxTest : public ::testing::Test {
 protected:
  PaintBoxTest() {
    previous_ = SetErrorReport([this](const QString& message) { reports.append(message); });
    box.resize(60, 40);
    box.OnMouseDown = [this](TMouseButton b, TShiftState s, int32_t x, int32_t y) { events.push_back({'d', b, s, x, y}); };
    box.OnMouseMove = [this](TShiftState s, int32_t x, int32_t y) {
      events.push_back({'m', TMouseButton::mbLeft, s, x, y});
    };
    box.OnMouseUp = [this](TMouseButton b, TShiftState s, int32_t x, int32_t y) { events.push_back({'u', b, s, x, y}); };
    box.OnDblClick = [this](TShiftState s, int32_t x, int32_t y) {
      events.push_back({'c', TMouseButton::mbLeft, s, x, y});
    };
  }
  ~PaintBoxTest() override { SetErrorReport(previous_); }

  void Show() {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  }

  TPaintBox box;
  std::vector<Event> events;
  QStringList reports;

 private:
  TErrorReport previous_;
};

struct ButtonCase {
  Qt::MouseButton qt;
  Qt::KeyboardModifiers keys;
  TMouseButton button;
  TShiftState held;  // the state while the button is down
};

class PaintBoxButtonTest : public PaintBoxTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(PaintBoxButtonTest, ReportsButtonShiftStateAndClientPosition) {
  const ButtonCase c = GetParam();
  QTest::mousePress(&box, c.qt, c.keys, QPoint(5, 6));
  QTest::mouseMove(&box, QPoint(-3, 50));
  QTest::mouseRelease(&box, c.qt, c.keys, QPoint(7, 8));
  const TShiftState keys = c.held & (ssShift | ssCtrl | ssAlt);
  // QTest moves the pointer without keys held.
  const std::vector<Event> expected = {{'d', c.button, c.held, 5, 6},
                                       {'m', TMouseButton::mbLeft, TShiftState(c.held & ~keys), -3, 50},
                                       {'u', c.button, keys, 7, 8}};
  EXPECT_EQ(events, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaintBoxButtonTest,
    ::testing::Values(ButtonCase{Qt::LeftButton, {}, TMouseButton::mbLeft, ssLeft},
                      ButtonCase{Qt::RightButton, Qt::ShiftModifier, TMouseButton::mbRight, ssRight | ssShift},
                      ButtonCase{Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier, TMouseButton::mbMiddle,
                                 ssMiddle | ssCtrl | ssAlt}));

// The second press of a double-click is a down with the double flag; with the left button the
// double-click follows it.
TEST_F(PaintBoxTest, TheSecondPressOfADoubleClickIsADownWithTheDoubleFlagThenTheDoubleClick) {
  QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseDClick(&box, Qt::LeftButton, Qt::ControlModifier, QPoint(4, 5));
  QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(4, 5));
  QTest::mouseDClick(&box, Qt::RightButton, {}, QPoint(6, 7));
  const std::vector<Event> expected = {{'d', TMouseButton::mbLeft, ssLeft, 4, 4},
                                       {'u', TMouseButton::mbLeft, 0, 4, 4},
                                       {'d', TMouseButton::mbLeft, ssLeft | ssCtrl | ssDouble, 4, 5},
                                       {'c', TMouseButton::mbLeft, ssLeft | ssCtrl | ssDouble, 4, 5},
                                       {'u', TMouseButton::mbLeft, 0, 4, 5},
                                       {'d', TMouseButton::mbRight, ssRight | ssDouble, 6, 7}};
  EXPECT_EQ(events, expected);
}

TEST_F(PaintBoxTest, RepaintRunsThePaintHandlerAtOnceOnTheWidget) {
  box.SetOpaque(true);
  EXPECT_TRUE(box.testAttribute(Qt::WA_OpaquePaintEvent));
  int paints = 0;
  box.OnPaint = [this, &paints] {
    ++paints;
    box.Canvas().Brush.Color = clRed;
    box.Canvas().FillRect({0, 0, 60, 40});
  };
  Show();
  const int before = paints;
  box.repaint();
  EXPECT_EQ(paints, before + 1);
  const QImage image = box.grab().toImage();
  EXPECT_EQ(image.pixelColor(30, 20), QColor(255, 0, 0));
}

TEST_F(PaintBoxTest, TheSurfaceTakesOnTheControlsFontOnlyWhenItPaints) {
  EXPECT_EQ(box.Canvas().Font(), TFont{});
  EXPECT_EQ(box.Font, UiFont());
  TFont during;
  box.OnPaint = [this, &during] { during = box.Canvas().Font(); };
  Show();
  box.repaint();
  EXPECT_EQ(during, UiFont());
}

TEST_F(PaintBoxTest, AnErrorInAHandlerIsReportedAndTheControlGoesOn) {
  Show();
  box.OnMouseDown = [](TMouseButton, TShiftState, int32_t, int32_t) { throw EIntOverflow(); };
  box.OnPaint = [] { throw EListError(3); };
  QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(2, 2));
  box.repaint();
  EXPECT_EQ(reports, (QStringList{"Integer overflow", QString::fromUtf8(EListError(3).what())}));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, 'u');
}

}  // namespace
