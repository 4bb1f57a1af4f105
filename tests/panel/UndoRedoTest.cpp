// Undo and redo on the real windows: the keys in every control of both windows, the main window's
// buttons, and what a step puts back on the screen, the list's marks and the editors included.
#include "tests/panel/PanelFixture.h"

#include "pickers/ColorUnit.h"
#include "pickers/FontUnit.h"
#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "toolkit/UpDown.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <functional>
#include <string>

namespace {

void Undo(QWidget* control) { QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier); }
void Redo(QWidget* control) { QTest::keyClick(control, Qt::Key_Y, Qt::ControlModifier); }

// Replaces the whole text of `edit` by typing `keys`.
void Type(QLineEdit* edit, const QString& keys) {
  edit->selectAll();
  QTest::keyClicks(edit, keys);
}

// --- The scenario that lost work ---

// Deselecting the first of three selected layers loads the second into the editors, and so
// writes its text into the third; one Ctrl+Z gives it back, with the marks and the editors.
TEST_F(PanelTest, OneUndoGivesBackTheTextThatLoadingTheEditorsOverwrote) {
  MakeLayers({"AAA", "BBB", "CCC"});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  ClickRow(2, Qt::ControlModifier);
  const CompositionFields before = FieldsOf(*Composition);
  ASSERT_EQ(before.Selection, (std::vector<int32_t>{0, 1, 2}));
  ASSERT_EQ(form->MemText->toPlainText(), "AAA");

  ClickRow(0, Qt::ControlModifier);
  ASSERT_EQ(Texts(), (std::vector<std::string>{"AAA", "BBB", "BBB"}));
  const CompositionFields after = FieldsOf(*Composition);
  Settle();

  Undo(form->LBox);
  EXPECT_EQ(FieldsOf(*Composition), before);
  EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(form->MemText->toPlainText(), "AAA");
  // Putting the memo back ran no change handler: each window repainted once.
  EXPECT_EQ(log.Entries, (Repaints{"canvas", "list"}));

  Redo(form->LBox);
  EXPECT_EQ(FieldsOf(*Composition), after);
  EXPECT_EQ(MarkedRows(), (std::vector<int>{1, 2}));
  EXPECT_EQ(form->MemText->toPlainText(), "BBB");
}

// --- The keys, wherever the focus is ---

struct KeyCase {
  const char* name;
  std::function<QWidget*(TLayerForm&)> control;
  Qt::Key redoKey;
  Qt::KeyboardModifiers redoModifiers;
};

class UndoKeyTest : public PanelTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(UndoKeyTest, CtrlZUndoesAndCtrlShiftZOrCtrlYRedoes) {
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  ASSERT_EQ(Composition->LayerCount(), 1);
  QWidget* control = GetParam().control(*form);
  control->setFocus();
  QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Composition->LayerCount(), 0);
  EXPECT_EQ(form->LBox->Count(), 0);
  QTest::keyClick(control, GetParam().redoKey, GetParam().redoModifiers);
  EXPECT_EQ(Composition->LayerCount(), 1);
  EXPECT_EQ(MarkedRows(), std::vector<int>{0});
}

const Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Controls, UndoKeyTest,
    ::testing::Values(KeyCase{"layer list", [](TLayerForm& f) -> QWidget* { return f.LBox; }, Qt::Key_Z, kCtrlShift},
                      KeyCase{"memo", [](TLayerForm& f) -> QWidget* { return f.MemText; }, Qt::Key_Y,
                              Qt::ControlModifier},
                      KeyCase{"line span", [](TLayerForm& f) -> QWidget* { return f.EditLineSpan; }, Qt::Key_Z,
                              kCtrlShift},
                      KeyCase{"char span", [](TLayerForm& f) -> QWidget* { return f.EditCharSpan; }, Qt::Key_Y,
                              Qt::ControlModifier},
                      KeyCase{"panel button", [](TLayerForm& f) -> QWidget* { return f.BitBtn1; }, Qt::Key_Y,
                              Qt::ControlModifier},
                      KeyCase{"canvas width", [](TLayerForm&) -> QWidget* { return MainForm->EditW; }, Qt::Key_Z,
                              kCtrlShift},
                      KeyCase{"canvas height", [](TLayerForm&) -> QWidget* { return MainForm->EditH; }, Qt::Key_Y,
                              Qt::ControlModifier},
                      KeyCase{"canvas", [](TLayerForm&) -> QWidget* { return MainForm->PBox; }, Qt::Key_Y,
                              Qt::ControlModifier},
                      KeyCase{"main window", [](TLayerForm&) -> QWidget* { return MainForm; }, Qt::Key_Z,
                              kCtrlShift}),
    [](const auto& info) { return CaseName(info.param.name); });

// --- The buttons ---

TEST_F(PanelTest, UndoAndRedoButtonsSitRightOfTheSizeFieldsAndGreyWhileThereIsNothingToDo) {
  QToolButton* undo = MainForm->BtnUndo;
  QToolButton* redo = MainForm->BtnRedo;
  EXPECT_EQ(undo->parentWidget(), MainForm->Panel1);
  EXPECT_EQ(redo->parentWidget(), MainForm->Panel1);
  EXPECT_EQ(undo->geometry(), QRect(160, 8, 25, 25));
  EXPECT_EQ(redo->geometry(), QRect(186, 8, 25, 25));
  EXPECT_LT(MainForm->UdH->geometry().right(), undo->x());
  EXPECT_EQ(undo->toolTip(), "undo");
  EXPECT_EQ(redo->toolTip(), "redo");
  EXPECT_EQ(undo->iconSize(), QSize(16, 16));
  EXPECT_FALSE(undo->icon().isNull());
  EXPECT_FALSE(redo->icon().isNull());

  struct State {
    bool undo, redo;
    int32_t layers;
  };
  const auto expect = [&](const State& s, const char* after) {
    EXPECT_EQ(undo->isEnabled(), s.undo) << after;
    EXPECT_EQ(redo->isEnabled(), s.redo) << after;
    EXPECT_EQ(Composition->LayerCount(), s.layers) << after;
  };
  expect({false, false, 0}, "start");
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  expect({true, false, 1}, "add");
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  expect({true, false, 2}, "second add");
  QTest::mouseClick(undo, Qt::LeftButton);
  expect({true, true, 1}, "undo");
  QTest::mouseClick(undo, Qt::LeftButton);
  expect({false, true, 0}, "second undo");
  QTest::mouseClick(undo, Qt::LeftButton);
  expect({false, true, 0}, "a click on the greyed button");
  QTest::mouseClick(redo, Qt::LeftButton);
  expect({true, true, 1}, "redo");
  // A new change drops what could have been redone.
  QTest::mouseClick(form->BtnCopy, Qt::LeftButton);
  expect({true, false, 2}, "copy");
}

// --- What a step puts back ---

TEST_F(PanelTest, TypingInTheMemoIsOneStepAndTheMemoKeepsNoHistoryOfItsOwn) {
  MakeLayers({"P", "Q"});
  ClickRow(0);
  form->MemText->moveCursor(QTextCursor::End);
  QTest::keyClicks(form->MemText, "abc");
  ASSERT_EQ(Texts(), (std::vector<std::string>{"Pabc", "Q"}));
  Undo(form->MemText);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P", "Q"}));
  EXPECT_EQ(form->MemText->toPlainText(), "P");
  EXPECT_FALSE(MainForm->BtnUndo->isEnabled());
  // A second Ctrl+Z finds nothing, in the composition and in the memo.
  Undo(form->MemText);
  EXPECT_EQ(form->MemText->toPlainText(), "P");
  Redo(form->MemText);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Pabc", "Q"}));
  EXPECT_EQ(form->MemText->toPlainText(), "Pabc");
  // Typing after a new selection is a step of its own.
  ClickRow(1);
  QTest::keyClicks(form->MemText, "x");
  Undo(form->MemText);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Pabc", "Q"}));
  EXPECT_EQ(MarkedRows(), std::vector<int>{1});
}

// A spacing text above the range stays in its edit while the spinner keeps its last position;
// both come back as they were, and Ctrl+Z in the edit is the composition's, not the edit's.
TEST_F(PanelTest, SpacingFieldsComeBackWithTheirTextAndSpinnerPosition) {
  MakeLayers({"P"});
  ClickRow(0);
  Type(form->EditLineSpan, "150");
  ASSERT_EQ(Composition->GetLayer(0).LineSpan, 15);
  QTest::mouseClick(form->BtnCC, Qt::LeftButton);
  const int32_t centred = Composition->GetLayer(0).Left;
  Settle();

  Undo(form->EditLineSpan);  // the alignment
  EXPECT_EQ(form->EditLineSpan->text(), "150");
  EXPECT_EQ(form->UdLineSpan->Position(), 15);
  EXPECT_EQ(log.Entries, (Repaints{"canvas", "list"}));
  Undo(form->EditLineSpan);  // the typing, one step
  EXPECT_EQ(form->EditLineSpan->text(), "0");
  EXPECT_EQ(Composition->GetLayer(0).LineSpan, 0);
  Redo(form->EditLineSpan);
  EXPECT_EQ(form->EditLineSpan->text(), "150");
  EXPECT_EQ(Composition->GetLayer(0).LineSpan, 15);
  Redo(form->EditLineSpan);
  EXPECT_EQ(Composition->GetLayer(0).Left, centred);
  // The spinner goes on from the position it had, not from the text.
  QTest::keyClick(form->EditLineSpan, Qt::Key_Up);
  EXPECT_EQ(form->EditLineSpan->text(), "16");
  EXPECT_EQ(Composition->GetLayer(0).LineSpan, 16);
}

// A text put back quietly is the digits-only filter's last text: digits go on after it.
TEST_F(PanelTest, DigitsOnlyFilterJudgesTypingAgainstTheTextPutBack) {
  MakeLayers({"P"});
  ClickRow(0);
  QTest::mouseClick(form->UdCharSpan->DownButton(), Qt::LeftButton);
  QTest::mouseClick(form->BtnLT, Qt::LeftButton);
  Type(form->EditCharSpan, "7");
  ASSERT_EQ(Composition->GetLayer(0).CharSpan, 7);
  Undo(form->EditCharSpan);
  ASSERT_EQ(form->EditCharSpan->text(), "-1");
  form->EditCharSpan->end(false);
  QTest::keyClick(form->EditCharSpan, Qt::Key_X);
  QTest::keyClick(form->EditCharSpan, Qt::Key_5);
  EXPECT_EQ(form->EditCharSpan->text(), "-15");
  EXPECT_EQ(Composition->GetLayer(0).CharSpan, -15);
}

TEST_F(PanelTest, CanvasSizeComesBackWithItsFieldAndPaintArea) {
  Type(MainForm->EditW, "999");
  ASSERT_EQ(Composition->Width, 999);
  Type(MainForm->EditH, "50");
  Undo(MainForm->EditH);
  EXPECT_EQ(Composition->Height, 200);
  EXPECT_EQ(MainForm->EditH->text(), "200");
  Undo(MainForm->EditW);
  EXPECT_EQ(Composition->Width, 200);
  EXPECT_EQ(MainForm->EditW->text(), "200");
  EXPECT_EQ(MainForm->PBox->size(), QSize(200, 200));
  Redo(MainForm->EditW);
  EXPECT_EQ(MainForm->EditW->text(), "999");
  EXPECT_EQ(MainForm->PBox->size(), QSize(999, 200));
  EXPECT_EQ(Composition->Bitmap.Width(), 999);
  // The spinner kept 99, the last number within its range.
  QTest::mouseClick(MainForm->UdW->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Composition->Width, 100);
}

TEST_F(PanelTest, ADragIsOneStepFromPressToRelease) {
  MakeLayers({"P", "Q"});
  ClickRow(0);
  const QImage before = GrabCanvas();
  for (const int dx : {10, 20}) {
    QTest::mousePress(MainForm->PBox, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(MainForm->PBox, QPoint(50 + dx / 2, 55));
    QTest::mouseMove(MainForm->PBox, QPoint(50 + dx, 58));
    QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, {}, QPoint(50 + dx, 60));
  }
  ASSERT_EQ(Composition->GetLayer(0).Left, 30);
  Undo(MainForm->PBox);
  EXPECT_EQ(Composition->GetLayer(0).Left, 10);
  EXPECT_EQ(Composition->GetLayer(0).Top, 10);
  Undo(MainForm->PBox);
  EXPECT_EQ(Composition->GetLayer(0).Left, 0);
  EXPECT_EQ(Composition->GetLayer(0).Top, 0);
  EXPECT_EQ(GrabCanvas(), before);
  EXPECT_FALSE(MainForm->BtnUndo->isEnabled());
}

// While a picker is open its action runs: the keys undo nothing, there or in the windows.
TEST_F(PanelTest, KeysDoNothingWhileAPickerIsOpenAndThePickedFontIsOneStep) {
  MakeLayers({"P"});
  ClickRow(0);
  Type(form->EditLineSpan, "4");
  const CompositionFields before = FieldsOf(*Composition);
  ModalAnswer<TFontForm> answer([&](TFontForm& picker) {
    Undo(&picker);
    Undo(picker.EdtSize);
    Undo(form->MemText);
    EXPECT_EQ(FieldsOf(*Composition), before);
    picker.EdtSize->selectAll();
    QTest::keyClicks(picker.EdtSize, QStringLiteral("20"));
    QTest::mouseClick(picker.BtnSet, Qt::LeftButton);
  });
  QTest::mouseClick(form->BtnFont, Qt::LeftButton);
  ASSERT_TRUE(answer.Opened);
  ASSERT_EQ(Composition->GetLayer(0).Font.Size, 20);
  Undo(form->BtnFont);
  EXPECT_EQ(FieldsOf(*Composition), before);
}

}  // namespace
