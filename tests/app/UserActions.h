#pragma once
// What a user can do with the real windows, the main window, the layer panel and both pickers,
// chosen at random from a seed: one action at a time, described as it is done. The pickers an
// action opens are worked at random too and closed in one of the ways a user closes them.
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "pickers/ColorUnit.h"
#include "pickers/FontUnit.h"
#include "tests/support/ModalAnswer.h"
#include "toolkit/CellGrid.h"
#include "toolkit/UpDown.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringList>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

class UserActions {
 public:
  explicit UserActions(uint32_t seed) : random_(seed) {}

  // How many of the actions so far worked a picker.
  int PickersOpened() const { return pickersOpened_; }

  // Whether `report` is one of the program's run-time errors, the only errors that actions
  // such as typing a huge canvas size or dragging far beyond the edge may raise.
  static bool IsRunTimeError(const QString& report) {
    return report == "Integer overflow" || report == "Range check error" ||
           report.startsWith(QString::fromUtf8("リストのインデックスが範囲を超えています")) ||
           report.contains("cannot be made");
  }
  static bool OnlyRunTimeErrors(const QStringList& reports) {
    return std::all_of(reports.begin(), reports.end(), IsRunTimeError);
  }

  // Runs one random action and describes it.
  std::string Act() {
    std::ostringstream what;
    switch (Pick(24)) {
      case 0: case 1:
        what << "add";
        LayerForm->BtnAdd->click();
        break;
      case 2:
        what << "copy";
        LayerForm->BtnCopy->click();
        break;
      case 3:
        what << "delete";
        LayerForm->BtnDel->click();
        break;
      case 4:
        what << "up/down";
        (Chance(50) ? LayerForm->BtnUp : LayerForm->BtnDown)->click();
        break;
      case 5: case 6: {
        const QPoint at = AnyListPoint();
        const Qt::KeyboardModifiers modifiers = AnyModifiers();
        what << "list click at " << at.x() << "," << at.y() << " modifiers " << modifiers;
        QTest::mouseClick(LayerForm->LBox->viewport(), Qt::LeftButton, modifiers, at);
        break;
      }
      case 7: {
        const QPoint press = AnyListPoint(), release = Chance(50) ? press : AnyListPoint();
        const Qt::MouseButton button = AnyButton();
        what << "list press " << press.x() << "," << press.y() << " release " << release.x() << ","
             << release.y() << " button " << button;
        QTest::mousePress(LayerForm->LBox->viewport(), button, {}, press);
        QTest::mouseRelease(LayerForm->LBox->viewport(), button, {}, release);
        break;
      }
      case 8: {
        const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_Space};
        const Qt::Key key = keys[Pick(5)];
        what << "list key " << key;
        QTest::keyClick(LayerForm->LBox, key, AnyModifiers());
        break;
      }
      case 9: case 10: {
        const QString text = AnyText(6);
        what << "memo typing " << text.toStdString();
        if (Chance(20)) QTest::keyClick(LayerForm->MemText, Qt::Key_A, Qt::ControlModifier);
        Type(LayerForm->MemText, text);
        if (Chance(30)) QTest::keyClick(LayerForm->MemText, Qt::Key_Backspace);
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
        FillEdit(std::array{LayerForm->EditLineSpan, LayerForm->EditCharSpan}[Pick(2)]);
        break;
      case 14:
        what << "spacing spinner";
        StepSpinner(std::array{LayerForm->UdLineSpan, LayerForm->UdCharSpan}[Pick(2)]);
        break;
      case 15: {
        QToolButton* const grid[] = {LayerForm->BtnLT, LayerForm->BtnCT, LayerForm->BtnRT,
                                     LayerForm->BtnLC, LayerForm->BtnCC, LayerForm->BtnRC,
                                     LayerForm->BtnLB, LayerForm->BtnCB, LayerForm->BtnRB};
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
        what << WorkPicker<TFontForm>("font", LayerForm->BtnFont, LayerForm->BitBtn1, &UserActions::OperateFontPicker);
        break;
      case 18: {
        const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        const Qt::Key key = keys[Pick(4)];
        const Qt::KeyboardModifiers modifiers = Chance(30) ? Qt::ShiftModifier : Qt::NoModifier;
        const int presses = Between(1, 3);
        what << "nudge key " << key << " modifiers " << modifiers << " times " << presses;
        QWidget* area = CanvasArea();
        FocusOn(area);
        for (int n = 0; n < presses; ++n) QTest::keyClick(area, key, modifiers);
        break;
      }
      case 19: {
        QWidget* control = Chance(50) ? CanvasArea() : LayerForm->LBox;
        what << "Delete key in " << control->metaObject()->className();
        FocusOn(control);
        QTest::keyClick(control, Qt::Key_Delete);
        break;
      }
      case 20:
        what << Zoom();
        break;
      case 21: {
        const QPoint at(Between(0, MainForm->PBox->width() - 1), Between(0, MainForm->PBox->height() - 1));
        const Qt::KeyboardModifiers modifiers = Chance(30) ? Qt::ControlModifier : Qt::NoModifier;
        what << "canvas double-click at " << at.x() << "," << at.y() << " modifiers " << modifiers;
        QTest::mouseDClick(MainForm->PBox, Qt::LeftButton, modifiers, at);
        QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, modifiers, at);
        break;
      }
      default:
        what << WorkPicker<TColorForm>("colour", LayerForm->BtnColor, LayerForm->BitBtn2,
                                       &UserActions::OperateColorPicker);
        break;
    }
    return what.str();
  }

 private:
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

  QWidget* CanvasArea() { return Chance(50) ? static_cast<QWidget*>(MainForm->ScrollBox1) : MainForm->PBox; }

  // Gives `control` the focus in its window, made the active one, as a user's click does.
  static void FocusOn(QWidget* control) {
    control->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(control->window()));
    control->setFocus();
  }

  // A zoom key pressed in any control of either window, or Ctrl+wheel over the canvas, a notch or
  // half of one.
  std::string Zoom() {
    std::ostringstream what;
    if (Chance(30)) {
      const QPoint at(Between(0, MainForm->PBox->width() - 1), Between(0, MainForm->PBox->height() - 1));
      const int delta = std::array{120, -120, 60, -60}[Pick(4)];
      what << "Ctrl+wheel " << delta << " at " << at.x() << "," << at.y();
      QWheelEvent wheel(at, MainForm->PBox->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::ControlModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(MainForm->PBox, &wheel);
      return what.str();
    }
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Plus, Qt::NoModifier}, {Qt::Key_Equal, Qt::NoModifier}, {Qt::Key_Plus, Qt::KeypadModifier},
        {Qt::Key_Minus, Qt::NoModifier}, {Qt::Key_0, Qt::NoModifier},    {Qt::Key_9, Qt::NoModifier}};
    const auto [key, modifiers] = keys[Pick(6)];
    QWidget* const controls[] = {MainForm->ScrollBox1, MainForm->PBox, MainForm->EditW,
                                 LayerForm->LBox,      LayerForm->MemText, LayerForm->EditCharSpan};
    QWidget* control = controls[Pick(6)];
    what << "zoom key Ctrl+" << key << " modifiers " << modifiers << " in " << control->metaObject()->className();
    FocusOn(control);
    QTest::keyClick(control, key, Qt::ControlModifier | modifiers);
    return what.str();
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
    const int rows = LayerForm->LBox->Count() + 1;
    return QPoint(Between(0, 140), Between(0, rows * 18));
  }

  // The colour picker opened once and worked at random, ended with OK, Cancel, Esc or the close box.
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
                         void (UserActions::*operate)(Form&)) {
    const bool layers = Chance(50);
    ModalAnswer<Form> answer([this, operate](Form& picker) { (this->*operate)(picker); });
    (layers ? ofLayers : ofDefault)->click();
    const std::string what = std::string(name) + (layers ? " picker of the selected layers" : " picker of the default");
    EXPECT_EQ(answer.Opened, !layers || Composition->SelectedCount() > 0) << what;
    pickersOpened_ += answer.Opened;
    return what;
  }

  std::mt19937 random_;
  int pickersOpened_ = 0;
};
