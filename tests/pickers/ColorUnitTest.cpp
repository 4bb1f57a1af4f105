#include "pickers/ColorUnit.h"

#include "app/MainUnit.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/PrintTo.h"
#include "toolkit/Application.h"
#include "toolkit/CellGrid.h"
#include "toolkit/UiFont.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

namespace {

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
  // `operate`, which closes it.
  bool Pick(TColor& color, std::function<void(TColorForm&)> operate, QWidget* owner = MainForm) {
    ModalAnswer<TColorForm> answer(std::move(operate));
    const bool result = ShowColorPicker(owner, color);
    EXPECT_TRUE(answer.Opened) << "the picker did not open";
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
