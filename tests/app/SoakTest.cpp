// A long, seeded, random run of what a user can do with the real windows: the main window, the
// layer panel and both pickers. After every action the program's invariants must hold, and the
// only errors reported are the program's run-time errors.
//
// SOAK_SEED and SOAK_COUNT choose the run (scripts/soak sets them); the suite runs a fixed one.
#include "tests/panel/PanelFixture.h"

#include "pickers/ColorUnit.h"
#include "pickers/FontUnit.h"
#include "toolkit/CellGrid.h"
#include "toolkit/UpDown.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

// The suite's own run: long enough to build up a stack and open the pickers many times.
constexpr int kSuiteCount = 1500;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

class SoakTest : public PanelTest {
 protected:
  SoakTest() : random_(static_cast<uint32_t>(EnvironmentNumber("SOAK_SEED", 20261209))) {}

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  Qt::MouseButton AnyButton() {
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    return buttons[Pick(3)];
  }

  Qt::KeyboardModifiers AnyModifiers() {
    const Qt::KeyboardModifiers choices[] = {Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier};
    return choices[Pick(4)];
  }

  // A text as a user types or pastes it: letters, digits, blanks, line breaks, Japanese.
  QString AnyText(int maxLength) {
    static const QString alphabet = QString::fromUtf8("aZ09 -+.\t\n\nあ亜アｱ€é@");
    QString text;
    for (int n = Pick(maxLength + 1); n > 0; --n) text += alphabet[Pick(alphabet.size())];
    return text;
  }

  // A number field's text: digits in and out of every range, nothing, or what a paste brings.
  QString AnyNumberText() {
    switch (Pick(6)) {
      case 0: return QString();
      case 1: return QString::number(Between(0, 450));
      case 2: return QString::number(Between(0, 40000));
      case 3: return QStringLiteral("99999999");
      case 4: return QStringLiteral("4294967296");
      default: return AnyText(4);
    }
  }

  // Types `text` key by key; characters outside ASCII come as the key events an input method
  // would send.
  static void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
      if (c == '\n') {
        QTest::keyClick(widget, Qt::Key_Return);
      } else if (c.unicode() < 0x80) {
        QTest::keyClick(widget, c.toLatin1());
      } else {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
      }
    }
  }

  void FillEdit(QLineEdit* edit) {
    edit->selectAll();
    const QString text = AnyNumberText();
    if (Chance(50)) {
      QTest::keyClick(edit, Qt::Key_Backspace);
      Type(edit, text);
    } else {
      QGuiApplication::clipboard()->setText(text);
      edit->paste();
    }
  }

  void StepSpinner(TUpDown* spinner) {
    if (Chance(50))
      (Chance(50) ? spinner->UpButton() : spinner->DownButton())->click();
    else
      QTest::keyClick(spinner->Associate(), Chance(50) ? Qt::Key_Up : Qt::Key_Down);
  }

  QPoint AnyListPoint() {
    const int rows = form->LBox->Count() + 1;
    return QPoint(Between(0, 140), Between(0, rows * 18));
  }

  // One colour picker session, worked at random, ended with OK, Cancel, Esc or the close box.
  void OperateColorPicker(TColorForm& picker) {
    for (int n = Pick(4); n > 0; --n) {
      if (Chance(50)) {
        TPaintBox* slider = std::array{picker.PbR, picker.PbG, picker.PbB}[Pick(3)];
        const QPoint at(Between(-20, 280), Between(0, 11));
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QTest::mouseMove(slider, QPoint(Between(-50, 300), Between(-5, 20)));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
      } else {
        QTest::mouseClick(picker.SG->viewport(), Qt::LeftButton, {}, QPoint(Between(0, 251), Between(0, 41)));
      }
    }
    EndDialog(picker, picker.BitBtn1, picker.BitBtn2);
  }

  void OperateFontPicker(TFontForm& picker) {
    for (int n = Pick(5); n > 0; --n) {
      switch (Pick(5)) {
        case 0:
          std::array{picker.SbBold, picker.SbItalic, picker.SbUnderLine, picker.SbStrikeOut}[Pick(4)]->click();
          break;
        case 1:
          FillEdit(picker.EdtSize);
          break;
        case 2:
          StepSpinner(picker.UdSize);
          break;
        case 3:
          if (picker.LBox->count() > 0) {
            const QRect row = picker.LBox->visualItemRect(picker.LBox->item(Pick(std::min(picker.LBox->count(), 6))));
            QTest::mouseClick(picker.LBox->viewport(), Qt::LeftButton, {}, row.center());
          }
          break;
        default: {
          ModalAnswer<TColorForm> nested([this](TColorForm& color) { OperateColorPicker(color); });
          picker.BtnColor->click();
          break;
        }
      }
    }
    // Large sizes are allowed but slow to preview; the run stays with what a user picks.
    if (picker.EdtSize->text().toInt() > 200) picker.EdtSize->setText(QStringLiteral("20"));
    EndDialog(picker, picker.BtnSet, picker.BitBtn1);
  }

  void EndDialog(QDialog& dialog, QPushButton* ok, QPushButton* cancel) {
    switch (Pick(4)) {
      case 0: ok->click(); break;
      case 1: cancel->click(); break;
      case 2: QTest::keyClick(&dialog, Qt::Key_Escape); break;
      default: dialog.close(); break;
    }
  }

  // Opens a picker for the selected layers or for the default font and works it. The layer's
  // button opens no picker while nothing is selected.
  template <class Form>
  std::string WorkPicker(const char* name, QAbstractButton* ofLayers, QAbstractButton* ofDefault,
                         void (SoakTest::*operate)(Form&)) {
    const bool layers = Chance(50);
    ModalAnswer<Form> answer([this, operate](Form& picker) { (this->*operate)(picker); });
    (layers ? ofLayers : ofDefault)->click();
    const std::string what = std::string(name) + (layers ? " picker of the selected layers" : " picker of the default");
    EXPECT_EQ(answer.Opened, !layers || Composition->SelectedCount() > 0) << what;
    pickersOpened_ += answer.Opened;
    return what;
  }

  // Runs one random action and describes it.
  std::string Act() {
    std::ostringstream what;
    switch (Pick(20)) {
      case 0: case 1:
        what << "add";
        form->BtnAdd->click();
        break;
      case 2:
        what << "copy";
        form->BtnCopy->click();
        break;
      case 3:
        what << "delete";
        form->BtnDel->click();
        break;
      case 4:
        what << "up/down";
        (Chance(50) ? form->BtnUp : form->BtnDown)->click();
        break;
      case 5: case 6: {
        const QPoint at = AnyListPoint();
        const Qt::KeyboardModifiers modifiers = AnyModifiers();
        what << "list click at " << at.x() << "," << at.y() << " modifiers " << modifiers;
        QTest::mouseClick(form->LBox->viewport(), Qt::LeftButton, modifiers, at);
        break;
      }
      case 7: {
        const QPoint press = AnyListPoint(), release = Chance(50) ? press : AnyListPoint();
        const Qt::MouseButton button = AnyButton();
        what << "list press " << press.x() << "," << press.y() << " release " << release.x() << ","
             << release.y() << " button " << button;
        QTest::mousePress(form->LBox->viewport(), button, {}, press);
        QTest::mouseRelease(form->LBox->viewport(), button, {}, release);
        break;
      }
      case 8: {
        const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_Space};
        const Qt::Key key = keys[Pick(5)];
        what << "list key " << key;
        QTest::keyClick(form->LBox, key, AnyModifiers());
        break;
      }
      case 9: case 10: {
        const QString text = AnyText(6);
        what << "memo typing " << text.toStdString();
        if (Chance(20)) QTest::keyClick(form->MemText, Qt::Key_A, Qt::ControlModifier);
        Type(form->MemText, text);
        if (Chance(30)) QTest::keyClick(form->MemText, Qt::Key_Backspace);
        break;
      }
      case 11: {
        QLineEdit* edit = std::array{MainForm->EditW, MainForm->EditH}[Pick(2)];
        what << "canvas size field";
        FillEdit(edit);
        break;
      }
      case 12:
        what << "canvas spinner";
        StepSpinner(std::array{MainForm->UdW, MainForm->UdH}[Pick(2)]);
        break;
      case 13:
        what << "spacing field";
        FillEdit(std::array{form->EditLineSpan, form->EditCharSpan}[Pick(2)]);
        break;
      case 14:
        what << "spacing spinner";
        StepSpinner(std::array{form->UdLineSpan, form->UdCharSpan}[Pick(2)]);
        break;
      case 15: {
        QToolButton* const grid[] = {form->BtnLT, form->BtnCT, form->BtnRT, form->BtnLC, form->BtnCC,
                                     form->BtnRC, form->BtnLB, form->BtnCB, form->BtnRB};
        const int tag = Pick(9);
        what << "align " << tag;
        grid[tag]->click();
        break;
      }
      case 16: {
        const Qt::MouseButton button = AnyButton();
        const QPoint from(Between(0, 199), Between(0, 199));
        const QPoint to(Between(-300, 600), Between(-300, 600));
        what << "drag from " << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
        QTest::mousePress(MainForm->PBox, button, {}, from);
        QTest::mouseMove(MainForm->PBox, (from + to) / 2);
        QTest::mouseRelease(MainForm->PBox, button, {}, to);
        break;
      }
      case 17:
        what << WorkPicker<TFontForm>("font", form->BtnFont, form->BitBtn1, &SoakTest::OperateFontPicker);
        break;
      default:
        what << WorkPicker<TColorForm>("colour", form->BtnColor, form->BitBtn2, &SoakTest::OperateColorPicker);
        break;
    }
    return what.str();
  }

  void CheckInvariants(const std::string& step) {
    ASSERT_EQ(form->LBox->Count(), Composition->LayerCount()) << step;
    const std::set<const TZeltoLayer*> selected(Composition->Selection.begin(), Composition->Selection.end());
    ASSERT_EQ(selected.size(), Composition->Selection.size()) << step << ": a layer is selected twice";
    for (int32_t i = 0; i < Composition->LayerCount(); ++i) {
      const TZeltoLayer& layer = Composition->GetLayer(i);
      ASSERT_EQ(layer.Selected, selected.count(&layer) == 1) << step << ": layer " << i;
      ASSERT_EQ(form->LBox->Selected(i), layer.Selected) << step << ": row " << i;
    }
    ASSERT_EQ(selected.size(), std::size_t(std::count_if(Composition->Layers.begin(), Composition->Layers.end(),
                                                         [](const auto& l) { return l->Selected; })))
        << step;
    ASSERT_EQ(MainForm->PBox->size(), QSize(Composition->Width, Composition->Height)) << step;
    ASSERT_EQ(QSize(Composition->Bitmap.Width(), Composition->Bitmap.Height()), MainForm->PBox->size()) << step;
    // The screen shows the composition as it now paints, wherever the canvas is in view: every
    // change ended with a repaint. No layer's own font is left on the canvas afterwards.
    const TFont before = Composition->DefaultFont();
    const QRect inView = CanvasInView();
    const QImage shown = OnScreen(inView);
    QImage painted(Composition->Width, Composition->Height, QImage::Format_RGB32);
    {
      TCanvas canvas(&painted);
      Composition->Paint(canvas);
    }
    ASSERT_TRUE(shown == painted.copy(inView)) << step << ": the screen does not show the canvas in "
                                              << inView.x() << "," << inView.y() << " " << inView.width() << "x"
                                              << inView.height();
    ASSERT_EQ(Composition->DefaultFont(), before) << step;
    for (const QString& report : reports) {
      ASSERT_TRUE(IsRunTimeError(report)) << step << ": reported " << report.toStdString();
      ++errorsReported_[QString(report).replace(QRegularExpression("[0-9]+"), "N").toStdString()];
    }
    reports.clear();
  }

  // The part of the canvas that the scrolling area shows, in canvas pixels.
  static QRect CanvasInView() {
    const QWidget* viewport = MainForm->ScrollBox1->viewport();
    const QRect view(MainForm->PBox->mapFrom(viewport, QPoint(0, 0)), viewport->size());
    return view & MainForm->PBox->rect();
  }

  // What the main window's backing store holds, that is what the screen shows, of the canvas
  // pixels `area`.
  static QImage OnScreen(const QRect& area) {
    const QPoint at = MainForm->PBox->mapTo(MainForm, area.topLeft());
    return MainForm->screen()
        ->grabWindow(MainForm->winId(), at.x(), at.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  static bool IsRunTimeError(const QString& report) {
    return report == "Integer overflow" || report == "Range check error" ||
           report.startsWith(QString::fromUtf8("リストのインデックスが範囲を超えています")) ||
           report.contains("cannot be made");
  }

  std::mt19937 random_;
  std::map<std::string, int> errorsReported_;
  int32_t mostLayers_ = 0;
  int pickersOpened_ = 0;
};

TEST_F(SoakTest, RandomUserActionsKeepTheProgramWhole) {
  const int count = EnvironmentNumber("SOAK_COUNT", kSuiteCount);
  for (int n = 0; n < count; ++n) {
    const std::string step = "action " + std::to_string(n) + ": " + Act();
    if (std::getenv("SOAK_TRACE"))
      std::printf("%s | layers %d selected %d\n", step.c_str(), Composition->LayerCount(), Composition->SelectedCount());
    for (int round = 0; round < 2; ++round) QApplication::processEvents();
    CheckInvariants(step);
    mostLayers_ = std::max(mostLayers_, Composition->LayerCount());
    if (HasFatalFailure()) return;
  }
  // A run as long as the suite's builds up a stack and works the pickers; a shorter one, chosen
  // by SOAK_COUNT, need not.
  if (count >= kSuiteCount) {
    EXPECT_GT(mostLayers_, 3) << "the run built up a stack";
    EXPECT_GT(pickersOpened_, 10) << "the run worked the pickers";
  }
  std::printf("%d actions; up to %d layers, %d at the end; %d picker sessions\n", count, mostLayers_,
              Composition->LayerCount(), pickersOpened_);
  for (const auto& [text, times] : errorsReported_) std::printf("reported %d times: %s\n", times, text.c_str());
}

}  // namespace
