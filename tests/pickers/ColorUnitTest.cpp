#include "pickers/ColorUnit.h"

#include "app/MainUnit.h"
#include "pickers/Misc.h"
#include "tests/support/ModalAnswer.h"
#include "toolkit/Application.h"
#include "toolkit/CellGrid.h"
#include "toolkit/UiFont.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>
#include <set>
#include <string>

QT_BEGIN_NAMESPACE
// Readable failure messages.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QColor& color, std::ostream* out) {
  *out << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}
void PrintTo(const QRect& r, std::ostream* out) {
  *out << "(" << r.x() << ", " << r.y() << ") " << r.width() << " x " << r.height();
}
void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << " x " << size.height(); }
QT_END_NAMESPACE

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

// --- The dialog ---

QColor Rgb(int red, int green, int blue) { return QColor(red, green, blue); }

// The main window the picker places itself under, shown; errors that reach the error report
// are collected, and there must be none.
class ColorPickerTest : public ::testing::Test {
 protected:
  ColorPickerTest() {
    previous_ = SetErrorReport([this](const QString& message) { reports.append(message); });
    MainForm = new TMainForm;
    MainForm->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(MainForm));
  }

  ~ColorPickerTest() override {
    EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
    delete MainForm;
    MainForm = nullptr;
    SetErrorReport(previous_);
  }

  // Opens the picker on `color` through ShowColorPicker and hands the open dialog to
  // `operate`, which closes it. Should it not, a fail-safe cancels the dialog so that the
  // test ends, and the test fails.
  bool Pick(TColor& color, const std::function<void(TColorForm&)>& operate, QWidget* owner = MainForm) {
    bool operated = false;
    QTimer::singleShot(0, [&] {
      if (auto* form = dynamic_cast<TColorForm*>(QApplication::activeModalWidget())) {
        operated = true;
        // Shown and painted once, as the user first sees it.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        QApplication::processEvents();
        operate(*form);
      }
    });
    const ModalFailSafe failSafe;
    const bool result = ShowColorPicker(owner, color);
    EXPECT_TRUE(operated) << "the picker did not open";
    return result;
  }

  static QString Caption(TColorForm& form) { return form.PnlInfo->text(); }

  static void ClickCell(TColorForm& form, int col, int row) {
    QTest::mouseClick(form.SG->viewport(), Qt::LeftButton, {}, QPoint(7 * col + 3, 7 * row + 3));
  }

  // The pixel at (x, y) inside cell (col, row) of the grid as it shows on the screen.
  static QColor CellPixel(TColorForm& form, int col, int row, int x, int y) {
    return form.SG->grab().toImage().pixelColor(2 + 7 * col + x, 2 + 7 * row + y);
  }

  static void Press(QWidget* widget, int x) { QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(x, 6)); }
  static void Release(QWidget* widget, int x) {
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(x, 6));
  }
  static void MoveHeld(QWidget* widget, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &move);
  }

  static void Key(TColorForm& form, Qt::Key key) {
    QWidget* focus = form.focusWidget();
    QTest::keyClick(focus ? focus : &form, key);
  }

  QStringList reports;

 private:
  TErrorReport previous_;
};

TEST_F(ColorPickerTest, IsLaidOutAsDesigned) {
  TColorForm form(MainForm);
  EXPECT_EQ(form.windowTitle(), "ColorForm");
  EXPECT_EQ(form.size(), QSize(272, 154));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.font(), UiFont().ToQFont());
  EXPECT_EQ(Caption(form), "[Color] R:XXX G:XXX B:XXX");  // until the sliders first paint
  const struct {
    QWidget* control;
    QRect geometry;
  } controls[] = {
      {form.PbR, {8, 8, 256, 12}},     {form.PbG, {8, 24, 256, 12}},    {form.PbB, {8, 40, 256, 12}},
      {form.SG, {8, 64, 256, 46}},     {form.Panel1, {0, 120, 272, 34}}, {form.PnlInfo, {0, 0, 185, 34}},
  };
  for (const auto& c : controls)
    EXPECT_EQ(c.control->geometry(), c.geometry) << c.control->objectName().toStdString();
  for (QWidget* slider : {form.PbR, form.PbG, form.PbB})
    EXPECT_TRUE(slider->testAttribute(Qt::WA_OpaquePaintEvent)) << slider->objectName().toStdString();
  // 36 × 6 cells of 7 × 7 pixels fill the inside of the 2-pixel border exactly.
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.SG->viewport()->geometry(), QRect(2, 2, 252, 42));
  EXPECT_EQ(form.SG->columnCount(), 36);
  EXPECT_EQ(form.SG->rowCount(), 6);
  EXPECT_EQ(form.SG->visualItemRect(form.SG->item(5, 35)), QRect(245, 35, 7, 7));
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_EQ(form.BitBtn1->iconSize(), QSize(20, 20));
  EXPECT_EQ(form.BitBtn2->iconSize(), QSize(20, 20));
}

TEST_F(ColorPickerTest, OpensUnderTheMainWindowWhoeverAsks) {
  MainForm->move(120, 90);
  QWidget other;
  other.setGeometry(700, 500, 100, 100);
  other.show();
  for (QWidget* owner : {static_cast<QWidget*>(MainForm), &other}) {
    TColor color = 0;
    QRect frame;
    Pick(color, [&](TColorForm& form) {
      frame = form.frameGeometry();
      form.reject();
    }, owner);
    EXPECT_EQ(frame.top(), MainForm->y() + MainForm->frameGeometry().height());
    EXPECT_EQ(frame.left(), 409);
  }
}

TEST_F(ColorPickerTest, GridCellsHoldTheirColourValues) {
  const struct {
    int col, row;
    const char* text;
    QColor color;
  } cells[] = {
      {0, 0, "0", Rgb(0, 0, 0)},
      {6, 0, "51", Rgb(51, 0, 0)},
      {0, 5, "16711680", Rgb(0, 0, 255)},
      {35, 5, "16777215", Rgb(255, 255, 255)},
      {35, 0, "65535", Rgb(255, 255, 0)},
      {1, 0, "13056", Rgb(0, 51, 0)},
      {0, 1, "3342336", Rgb(0, 0, 51)},
      {13, 4, "13382502", Rgb(102, 51, 204)},
  };
  TColor color = 0;
  Pick(color, [&](TColorForm& form) {
    for (const auto& c : cells) {
      EXPECT_EQ(form.SG->item(c.row, c.col)->text(), c.text) << c.col << "," << c.row;
      EXPECT_EQ(CellPixel(form, c.col, c.row, 3, 3), c.color) << c.col << "," << c.row;
    }
    form.reject();
  });
}

TEST_F(ColorPickerTest, ClickedCellBecomesTheColour) {
  TColor color = RGBToColor(1, 2, 3);
  const bool ok = Pick(color, [&](TColorForm& form) {
    ClickCell(form, 35, 0);
    EXPECT_EQ(Caption(form), "[Color] R:255 G:255 B:000");
    EXPECT_EQ(form.PnlInfo->grab().toImage().pixelColor(5, 17), Rgb(255, 255, 0));  // yellow
    form.BitBtn1->click();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(color, RGBToColor(255, 255, 0));
}

TEST_F(ColorPickerTest, PressOnASliderSetsItsChannelAtOnce) {
  const struct {
    int slider, x;
    const char* caption;
    TColor result;
  } cases[] = {
      {0, 0, "[Color] R:000 G:128 B:128", RGBToColor(0, 128, 128)},
      {0, 255, "[Color] R:255 G:128 B:128", RGBToColor(255, 128, 128)},
      {1, 51, "[Color] R:128 G:051 B:128", RGBToColor(128, 51, 128)},
      {2, 7, "[Color] R:128 G:128 B:007", RGBToColor(128, 128, 7)},
  };
  for (const auto& c : cases) {
    TColor color = RGBToColor(128, 128, 128);
    const bool ok = Pick(color, [&](TColorForm& form) {
      TPaintBox* slider = std::array{form.PbR, form.PbG, form.PbB}[c.slider];
      Press(slider, c.x);
      EXPECT_EQ(Caption(form), c.caption);
      Release(slider, c.x);
      form.BitBtn1->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(color, c.result) << c.caption;
  }
}

TEST_F(ColorPickerTest, DragFollowsThePointerWithinTheSlider) {
  TColor color = 0;
  Pick(color, [&](TColorForm& form) {
    MoveHeld(form.PbG, {90, 6});  // no press yet: nothing happens
    EXPECT_EQ(Caption(form), "[Color] R:000 G:000 B:000");
    Press(form.PbG, 10);
    EXPECT_EQ(QWidget::mouseGrabber(), form.PbG);
    const struct {
      QPoint to;
      const char* caption;
    } moves[] = {
        {{200, 6}, "[Color] R:000 G:200 B:000"},
        {{-40, 6}, "[Color] R:000 G:000 B:000"},  // left of the slider counts as its left edge
        {{300, 30}, "[Color] R:000 G:255 B:000"},  // right of it as its right edge
        {{128, -50}, "[Color] R:000 G:128 B:000"},
    };
    for (const auto& m : moves) {
      MoveHeld(form.PbG, m.to);
      EXPECT_EQ(Caption(form), m.caption) << m.to.x();
    }
    Release(form.PbG, 128);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    MoveHeld(form.PbG, {60, 6});  // released: moves change nothing
    EXPECT_EQ(Caption(form), "[Color] R:000 G:128 B:000");
    form.BitBtn2->click();
  });
}

TEST_F(ColorPickerTest, ClosingDuringADragGivesUpTheMouse) {
  TColor color = 0;
  const bool ok = Pick(color, [&](TColorForm& form) {
    Press(form.PbB, 30);
    ASSERT_EQ(QWidget::mouseGrabber(), form.PbB);
    Key(form, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(color, RGBToColor(0, 0, 30));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ColorPickerTest, ClickingTheCurrentCellAgainUndoesSliderChanges) {
  TColor color = 0;
  Pick(color, [&](TColorForm& form) {
    ClickCell(form, 6, 0);
    EXPECT_EQ(Caption(form), "[Color] R:051 G:000 B:000");
    Press(form.PbG, 200);
    Release(form.PbG, 200);
    EXPECT_EQ(Caption(form), "[Color] R:051 G:200 B:000");
    ClickCell(form, 6, 0);
    EXPECT_EQ(Caption(form), "[Color] R:051 G:000 B:000");
    form.BitBtn1->click();
  });
  EXPECT_EQ(color, RGBToColor(51, 0, 0));
}

TEST_F(ColorPickerTest, GridChoosesOnReleaseAndOnKeyboardMoves) {
  TColor color = 0;
  Pick(color, [&](TColorForm& form) {
    // A press alone chooses nothing; the cell last under the held button is chosen on release.
    QTest::mousePress(form.SG->viewport(), Qt::LeftButton, {}, QPoint(7 * 2 + 3, 3));
    EXPECT_EQ(Caption(form), "[Color] R:000 G:000 B:000");
    MoveHeld(form.SG->viewport(), QPoint(7 * 4 + 3, 7 * 3 + 3));
    QTest::mouseRelease(form.SG->viewport(), Qt::LeftButton, {}, QPoint(7 * 4 + 3, 7 * 3 + 3));
    EXPECT_EQ(Caption(form), "[Color] R:000 G:204 B:153");
    // Right-clicks choose nothing.
    QTest::mouseClick(form.SG->viewport(), Qt::RightButton, {}, QPoint(7 * 30 + 3, 3));
    EXPECT_EQ(Caption(form), "[Color] R:000 G:204 B:153");
    EXPECT_EQ(form.SG->currentColumn(), 4);
    form.SG->setFocus();
    const struct {
      Qt::Key key;
      const char* caption;
    } keys[] = {
        {Qt::Key_Right, "[Color] R:000 G:255 B:153"},
        {Qt::Key_Right, "[Color] R:051 G:000 B:153"},  // column 6 starts the next red level
        {Qt::Key_Down, "[Color] R:051 G:000 B:204"},
        {Qt::Key_Left, "[Color] R:000 G:255 B:204"},
        {Qt::Key_Up, "[Color] R:000 G:255 B:153"},
    };
    for (const auto& k : keys) {
      QTest::keyClick(form.SG, k.key);
      EXPECT_EQ(Caption(form), k.caption) << k.key;
    }
    form.BitBtn1->click();
  });
  EXPECT_EQ(color, RGBToColor(0, 255, 153));
}

TEST_F(ColorPickerTest, CurrentCellHasABlackFrame) {
  TColor color = 0;
  Pick(color, [&](TColorForm& form) {
    // At first the black cell in column 0, row 0 is current: its frame cannot be seen.
    EXPECT_EQ(form.SG->currentColumn(), 0);
    EXPECT_EQ(form.SG->currentRow(), 0);
    EXPECT_EQ(CellPixel(form, 0, 0, 0, 0), Rgb(0, 0, 0));
    ClickCell(form, 7, 2);
    const QColor inside = Rgb(51, 51, 102);
    const QPoint edge[] = {{0, 0}, {3, 0}, {6, 0}, {0, 3}, {6, 3}, {0, 6}, {3, 6}, {6, 6}};
    for (QPoint p : edge)
      EXPECT_EQ(CellPixel(form, 7, 2, p.x(), p.y()), Rgb(0, 0, 0)) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(1, 1), QPoint(3, 3), QPoint(5, 5)})
      EXPECT_EQ(CellPixel(form, 7, 2, p.x(), p.y()), inside);
    ClickCell(form, 8, 2);
    for (QPoint p : edge)
      EXPECT_EQ(CellPixel(form, 7, 2, p.x(), p.y()), inside) << "after " << p.x() << "," << p.y();
    EXPECT_EQ(CellPixel(form, 8, 2, 0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(CellPixel(form, 9, 2, 0, 0), Rgb(51, 153, 102));  // not current: no frame
    form.reject();
  });
}

TEST_F(ColorPickerTest, SlidersShowTheRampAndAnOpenMarker) {
  TColor color = RGBToColor(0, 128, 255);
  Pick(color, [&](TColorForm& form) {
    const struct {
      TPaintBox* slider;
      int value;
      std::function<QColor(int)> ramp;
    } sliders[] = {
        {form.PbR, 0, [](int x) { return Rgb(x, 0, 0); }},
        {form.PbG, 128, [](int x) { return Rgb(0, x, 0); }},
        {form.PbB, 255, [](int x) { return Rgb(0, 0, x); }},
    };
    for (const auto& s : sliders) {
      const QImage image = s.slider->grab().toImage();
      ASSERT_EQ(image.size(), QSize(256, 12));
      const int v = s.value;
      const QRect arms[] = {{v - 4, 5, 2, 3}, {v + 2, 5, 2, 3}, {v - 1, 2, 3, 2}, {v - 1, 8, 3, 2}};
      int mismatches = 0;
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 256; ++x) {
          const bool marker =
              std::any_of(std::begin(arms), std::end(arms), [&](const QRect& r) { return r.contains(x, y); });
          const QColor expected = marker ? Rgb(255, 255, 255) : s.ramp(x);
          if (image.pixelColor(x, y) != expected && ++mismatches <= 3)
            ADD_FAILURE() << s.slider->objectName().toStdString() << " at " << x << "," << y;
        }
      EXPECT_EQ(mismatches, 0) << s.slider->objectName().toStdString();
      EXPECT_EQ(image.pixelColor(v, 6), s.ramp(v)) << "open centre";
    }
    form.reject();
  });
}

TEST_F(ColorPickerTest, SmallValuesShowWithLeadingZeros) {
  TColor color = RGBToColor(51, 7, 100);
  Pick(color, [&](TColorForm& form) {
    EXPECT_EQ(Caption(form), "[Color] R:051 G:007 B:100");
    form.reject();
  });
}

TEST_F(ColorPickerTest, SystemColourReferenceOpensAsItsValueAndComesBackPlain) {
  const QPalette saved = QApplication::palette();
  QPalette palette = saved;
  palette.setColor(QPalette::WindowText, Rgb(12, 34, 56));
  palette.setColor(QPalette::Button, Rgb(65, 43, 21));
  QApplication::setPalette(palette);
  const struct {
    TColor reference;
    const char* caption;
    TColor plain;
  } cases[] = {
      {clWindowText, "[Color] R:012 G:034 B:056", RGBToColor(12, 34, 56)},
      {SystemColorRef(COLOR_BTNFACE), "[Color] R:065 G:043 B:021", RGBToColor(65, 43, 21)},
  };
  for (const auto& c : cases) {
    TColor color = c.reference;
    const bool ok = Pick(color, [&](TColorForm& form) {
      EXPECT_EQ(Caption(form), c.caption);
      form.BitBtn1->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(color, c.plain) << c.caption;
  }
  QApplication::setPalette(saved);
}

TEST_F(ColorPickerTest, OnlyOkHandsTheColourBack) {
  const struct {
    const char* way;
    std::function<void(TColorForm&)> close;
    bool accepted;
  } ways[] = {
      {"Cancel", [](TColorForm& form) { QTest::mouseClick(form.BitBtn2, Qt::LeftButton); }, false},
      {"Esc", [](TColorForm& form) { Key(form, Qt::Key_Escape); }, false},
      {"close box", [](TColorForm& form) { form.close(); }, false},
      {"OK", [](TColorForm& form) { QTest::mouseClick(form.BitBtn1, Qt::LeftButton); }, true},
      {"Enter", [](TColorForm& form) { Key(form, Qt::Key_Return); }, true},
  };
  for (const auto& w : ways) {
    TColor color = RGBToColor(0x12, 0x34, 0x56);
    const bool ok = Pick(color, [&](TColorForm& form) {
      ClickCell(form, 35, 0);
      Press(form.PbB, 77);
      Release(form.PbB, 77);
      w.close(form);
    });
    EXPECT_EQ(ok, w.accepted) << w.way;
    EXPECT_EQ(color, w.accepted ? RGBToColor(255, 255, 77) : RGBToColor(0x12, 0x34, 0x56)) << w.way;
  }
}

}  // namespace
