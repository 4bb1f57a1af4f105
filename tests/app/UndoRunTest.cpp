// A seeded random run of a user's actions over the real windows, then every step undone with the
// keys and every step redone: the composition comes back, step by step, to where it was after
// each action, down to where it started and up to where the run ended, field by field and on
// the canvas.
#include "tests/app/UserActions.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/CompositionFields.h"

#include <cstdio>
#include <map>

namespace {

constexpr uint32_t kSeed = 20260113;
constexpr int kActions = 1000;

// The composition without the selection, which changes between steps without being one.
CompositionFields Content(CompositionFields fields) {
  fields.Selection.clear();
  fields.Selected.clear();
  return fields;
}

class UndoRunTest : public PanelTest {
 protected:
  std::size_t Steps() const { return Composition->History.UndoCount(); }

  // Presses `key` with Ctrl and `modifiers` in the controls of both windows in turn, as long as
  // `button` is not greyed, and checks after each press that the composition is as it was after
  // the last action that left that many steps. Returns the number of presses.
  int PressWhileEnabled(QToolButton* button, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* const controls[] = {form->LBox, form->MemText, form->EditLineSpan, MainForm->EditW, MainForm->PBox};
    int presses = 0;
    while (button->isEnabled() && presses <= kActions) {
      QTest::keyClick(controls[presses % 5], key, Qt::ControlModifier | modifiers);
      ++presses;
      const auto known = afterActions.find(Steps());
      if (known != afterActions.end()) {
        EXPECT_EQ(Content(FieldsOf(*Composition)), known->second) << Steps() << " steps";
      }
      if (HasFailure()) break;
    }
    return presses;
  }

  // The composition after the last action that left a number of steps, by that number.
  std::map<std::size_t, CompositionFields> afterActions;
};

TEST_F(UndoRunTest, UndoingEveryStepGivesTheStartAndRedoingThemTheEnd) {
  const CompositionFields start = FieldsOf(*Composition);
  const QImage startCanvas = GrabCanvas();
  afterActions[0] = Content(start);
  UserActions actions(kSeed);
  for (int n = 0; n < kActions; ++n) {
    const std::string step = actions.Act();
    for (int round = 0; round < 2; ++round) QApplication::processEvents();
    ASSERT_TRUE(UserActions::OnlyRunTimeErrors(reports))
        << "action " << n << ": " << step << " reported " << reports.join('\n').toStdString();
    reports.clear();
    afterActions[Steps()] = Content(FieldsOf(*Composition));
  }
  // The canvas is compared at 100%, as it was at the start: the zoom is no part of the history.
  MainForm->SetZoom(TZoom(), QPoint(0, 0));
  const CompositionFields end = FieldsOf(*Composition);
  const QImage endCanvas = GrabCanvas();
  const auto steps = static_cast<int>(Steps());
  ASSERT_GT(steps, kActions / 4) << "the run changed the composition";
  ASSERT_GT(Composition->LayerCount(), 3) << "the run built up a stack";

  EXPECT_EQ(PressWhileEnabled(MainForm->BtnUndo, Qt::Key_Z, Qt::NoModifier), steps);
  EXPECT_EQ(FieldsOf(*Composition), start);
  EXPECT_EQ(GrabCanvas(), startCanvas);

  EXPECT_EQ(PressWhileEnabled(MainForm->BtnRedo, Qt::Key_Z, Qt::ShiftModifier), steps);
  EXPECT_EQ(Content(FieldsOf(*Composition)), Content(end));
  EXPECT_EQ(GrabCanvas(), endCanvas);
  EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
  std::printf("%d actions, %d steps, %d layers at the end, the history %.1f KiB\n", kActions, steps,
              Composition->LayerCount(), Composition->History.Bytes() / 1024.0);
}

}  // namespace
