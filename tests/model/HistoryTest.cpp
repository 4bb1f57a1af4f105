#include "model/History.h"

#include "model/Zelto.h"
#include "tests/support/CaseName.h"
#include "tests/support/CompositionFields.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/PrintTo.h"
#include "tests/support/ScopedCodePage.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Three layers, each different in every field, layers 2 and 0 selected in that order, and a
// window whose editors show a number that travels with every state.
class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() : codePage("UTF-8"), zelto(200, 150, engine) {
    Composition = &zelto;
    TFont font;
    font.Name = QStringLiteral("Serif");
    font.Size = 14;
    font.Color = 0x0000FF;
    zelto.SetDefaultFont(font);
    Add("P", 5, 6);
    Add("Q\r\nQQ", -7, 30).UseDefaultFont = false;
    Add("R", 300, 2).Visible = false;
    zelto.GetLayer(1).Font.Style = fsBold;
    zelto.GetLayer(1).LineSpan = 3;
    zelto.GetLayer(2).CharSpan = -2;
    zelto.GetLayer(0).AlignToAnchor(4);
    zelto.SetLayerSelected(2, true);
    zelto.SetLayerSelected(0, true);
    history.AddView(this, [this] { return TViewState{shown, sizeof(int)}; },
                    [this](const std::any& data) { shown = data.has_value() ? std::any_cast<int>(data) : -1; });
  }
  ~HistoryTest() override { Composition = nullptr; }

  TZeltoLayer& Add(const char* text, int32_t left, int32_t top) {
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(text));
    layer.Left = left;
    layer.Top = top;
    return layer;
  }

  // One action of the user that does `change`.
  void Act(TStepKind kind, const std::function<void()>& change) {
    const TZeltoAction action(history, kind);
    change();
  }

  // One action that types `text` into the selected layers.
  void Type(const char* text) {
    Act(TStepKind::Text, [&] { ForEachSelected(true, [&](int32_t, TZeltoLayer& layer) { layer.SetText(text); }); });
  }

  void SelectOnly(int32_t index) {
    Act(TStepKind::Select, [&] {
      for (int32_t i = 0; i < zelto.LayerCount(); ++i) zelto.SetLayerSelected(i, i == index);
    });
  }

  ScopedCodePage codePage;
  FixedMetricsEngine engine;
  TZeltoZelto zelto;
  TZeltoHistory& history = zelto.History;
  int shown = 0;
};

// ---- Each kind of step ----

struct StepCase {
  const char* name;
  TStepKind kind;
  std::function<void(TZeltoZelto&)> change;
};

class StepTest : public HistoryTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, UndoGivesTheStateBeforeAndRedoTheStateAfter) {
  const CompositionFields before = FieldsOf(zelto);
  Act(GetParam().kind, [&] {
    GetParam().change(zelto);
    shown = 1;
  });
  const CompositionFields after = FieldsOf(zelto);
  ASSERT_NE(after, before) << "the case changes nothing";
  EXPECT_EQ(history.UndoCount(), 1u);

  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(FieldsOf(zelto), before);
  EXPECT_EQ(shown, 0);
  EXPECT_FALSE(history.CanUndo());
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(FieldsOf(zelto), after);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(history.CanRedo());
  // Once more, from states that were themselves put back.
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(FieldsOf(zelto), before);
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(FieldsOf(zelto), after);
}

TFont OtherFont() {
  TFont font;
  font.Name = QStringLiteral("Mono");
  font.Size = 9;
  font.Style = fsItalic | fsUnderline;
  font.Charset = SHIFTJIS_CHARSET;
  font.Color = 0x123456;
  return font;
}

void EachSelected(const std::function<void(TZeltoLayer&)>& change) {
  ForEachSelected(true, [&](int32_t, TZeltoLayer& layer) { change(layer); });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, StepTest,
    ::testing::Values(
        StepCase{"add, the new layer alone selected", TStepKind::Add,
                 [](TZeltoZelto& z) {
                   const int32_t index = z.AddLayer("new");
                   for (int32_t i = 0; i < z.LayerCount(); ++i) z.SetLayerSelected(i, i == index);
                 }},
        StepCase{"copy", TStepKind::Copy, [](TZeltoZelto& z) { z.AddLayerCopy(1); }},
        StepCase{"delete the selected", TStepKind::Delete,
                 [](TZeltoZelto& z) {
                   z.DeleteLayer(2);
                   z.DeleteLayer(0);
                 }},
        StepCase{"up", TStepKind::Up, [](TZeltoZelto& z) { z.MoveLayer(2, 1); }},
        StepCase{"down", TStepKind::Down, [](TZeltoZelto& z) { z.MoveLayer(0, 1); }},
        StepCase{"visibility box", TStepKind::RowBox, [](TZeltoZelto& z) { z.SetLayerVisible(2, true); }},
        StepCase{"default-font box", TStepKind::RowBox, [](TZeltoZelto& z) { z.SetLayerUseDefaultFont(0, false); }},
        StepCase{"text", TStepKind::Text, [](TZeltoZelto&) { EachSelected([](auto& l) { l.SetText("a\r\nb"); }); }},
        StepCase{"line span", TStepKind::LineSpan,
                 [](TZeltoZelto&) { EachSelected([](auto& l) { l.LineSpan = -9; }); }},
        StepCase{"char span", TStepKind::CharSpan,
                 [](TZeltoZelto&) { EachSelected([](auto& l) { l.CharSpan = 7; }); }},
        StepCase{"alignment", TStepKind::Align,
                 [](TZeltoZelto&) { EachSelected([](auto& l) { l.AlignToAnchor(8); }); }},
        StepCase{"layer font", TStepKind::LayerFont,
                 [](TZeltoZelto&) {
                   EachSelected([](auto& l) {
                     l.UseDefaultFont = false;
                     l.Font = OtherFont();
                   });
                 }},
        StepCase{"layer colour", TStepKind::LayerColor,
                 [](TZeltoZelto&) {
                   EachSelected([](auto& l) {
                     l.UseDefaultFont = false;
                     l.Font.Color = 0x00FF00;
                   });
                 }},
        StepCase{"default font", TStepKind::DefaultFont, [](TZeltoZelto& z) { z.SetDefaultFont(OtherFont()); }},
        StepCase{"default colour", TStepKind::DefaultColor, [](TZeltoZelto& z) { z.DefaultFont().Color = 0xABCDEF; }},
        StepCase{"canvas width", TStepKind::Width, [](TZeltoZelto& z) { z.SetWidth(999); }},
        StepCase{"canvas height", TStepKind::Height, [](TZeltoZelto& z) { z.SetHeight(1); }},
        StepCase{"drag", TStepKind::Drag, [](TZeltoZelto&) { EachSelected([](auto& l) { l.MoveBy(-40, 25); }); }},
        // The selection changes, and loading the editors writes the first selected layer's text
        // and spans into the others.
        StepCase{"selection whose loading overwrites a layer", TStepKind::Select,
                 [](TZeltoZelto& z) {
                   z.SetLayerSelected(2, false);
                   z.SetLayerSelected(1, true);
                   z.GetLayer(1).SetText(z.GetLayer(0).GetText());
                   z.GetLayer(1).LineSpan = z.GetLayer(0).LineSpan;
                 }}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- What is a step ----

TEST_F(HistoryTest, ASelectionChangeThatChangesNoLayerIsNoStep) {
  SelectOnly(1);
  EXPECT_EQ(history.UndoCount(), 0u);
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(HistoryTest, ActionsInsideAnActionArePartOfItsStep) {
  const CompositionFields before = FieldsOf(zelto);
  Act(TStepKind::Select, [&] {
    zelto.SetLayerSelected(1, true);
    Type("x");
    Act(TStepKind::LineSpan, [&] { zelto.GetLayer(0).LineSpan = 4; });
  });
  EXPECT_EQ(history.UndoCount(), 1u);
  // The step is the selection's: typing that follows is a step of its own.
  Type("y");
  EXPECT_EQ(history.UndoCount(), 2u);
  history.Undo();
  history.Undo();
  EXPECT_EQ(FieldsOf(zelto), before);
}

TEST_F(HistoryTest, NothingCanBeUndoneWhileAnActionRuns) {
  Type("x");
  Act(TStepKind::LayerFont, [&] {
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo());
  });
  EXPECT_EQ(zelto.GetLayer(0).Text, "x");
  EXPECT_TRUE(history.CanUndo());
}

TEST_F(HistoryTest, PuttingAStateBackRecordsNothing) {
  // A window that answered the loading with a change handler of its own.
  history.AddView(&zelto, [] { return TViewState{}; }, [this](const std::any&) { Type("loaded"); });
  Type("x");
  Act(TStepKind::LineSpan, [&] { zelto.GetLayer(0).LineSpan = 5; });
  history.Undo();
  EXPECT_EQ(history.UndoCount(), 1u);
  EXPECT_TRUE(history.CanRedo());
}

// ---- Runs of typing, spinners and drags ----

enum class Op { Type, LineSpan, CharSpan, Drag, Align, SelectOther, NoChange, Undo, Break };

struct RunCase {
  const char* name;
  std::vector<Op> ops;
  std::size_t steps;
};

class RunTest : public HistoryTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunTest, ConsecutiveStepsOfOneKindMergeUntilSomethingElseComesIn) {
  int n = 0;
  for (const Op op : GetParam().ops) {
    const std::string text = "t" + std::to_string(++n);
    switch (op) {
      case Op::Type: Type(text.c_str()); break;
      case Op::LineSpan: Act(TStepKind::LineSpan, [&] { EachSelected([&](auto& l) { l.LineSpan = n; }); }); break;
      case Op::CharSpan: Act(TStepKind::CharSpan, [&] { EachSelected([&](auto& l) { l.CharSpan = n; }); }); break;
      case Op::Drag: Act(TStepKind::Drag, [&] { EachSelected([](auto& l) { l.MoveBy(1, 1); }); }); break;
      case Op::Align: Act(TStepKind::Align, [&] { EachSelected([&](auto& l) { l.AlignToAnchor(n % 9); }); }); break;
      case Op::SelectOther: SelectOnly(zelto.LayerSelected(0) ? 1 : 0); break;
      case Op::NoChange: Act(TStepKind::Align, [] {}); break;
      case Op::Undo: history.Undo(); break;
      case Op::Break: history.BreakMerge(); break;
    }
  }
  EXPECT_EQ(history.UndoCount(), GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunTest,
    ::testing::Values(RunCase{"typing runs on", {Op::Type, Op::Type, Op::Type}, 1},
                      RunCase{"a new selection ends typing", {Op::Type, Op::SelectOther, Op::Type}, 2},
                      RunCase{"another kind ends typing", {Op::Type, Op::LineSpan, Op::Type}, 3},
                      RunCase{"an action that changes nothing does not", {Op::Type, Op::NoChange, Op::Type}, 1},
                      RunCase{"an undo ends typing", {Op::Type, Op::LineSpan, Op::Undo, Op::Type}, 2},
                      RunCase{"one spinner runs on", {Op::LineSpan, Op::LineSpan, Op::LineSpan}, 1},
                      RunCase{"the other spinner is another run", {Op::LineSpan, Op::CharSpan, Op::LineSpan}, 3},
                      RunCase{"a drag runs on", {Op::Drag, Op::Drag, Op::Drag}, 1},
                      RunCase{"a new drag is a new step", {Op::Drag, Op::Drag, Op::Break, Op::Drag}, 2},
                      RunCase{"alignments do not merge", {Op::Align, Op::Align}, 2}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST_F(HistoryTest, OneUndoTakesBackAWholeRunOfTyping) {
  const CompositionFields before = FieldsOf(zelto);
  for (const char* text : {"a", "ab", "abc"}) Type(text);
  const CompositionFields after = FieldsOf(zelto);
  history.Undo();
  EXPECT_EQ(FieldsOf(zelto), before);
  history.Redo();
  EXPECT_EQ(FieldsOf(zelto), after);
}

// ---- Bounds ----

TEST_F(HistoryTest, ANewStepDropsTheStepsThatCouldBeRedone) {
  Type("a");
  Act(TStepKind::Align, [&] { zelto.GetLayer(0).AlignToAnchor(8); });
  Act(TStepKind::Align, [&] { zelto.GetLayer(0).AlignToAnchor(0); });
  history.Undo();
  history.Undo();
  EXPECT_TRUE(history.CanRedo());
  Act(TStepKind::LineSpan, [&] { zelto.GetLayer(0).LineSpan = 50; });
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.UndoCount(), 2u);
  history.Undo();
  EXPECT_EQ(zelto.GetLayer(0).LineSpan, 0);
  EXPECT_EQ(zelto.GetLayer(0).Text, "a");
}

TEST_F(HistoryTest, KeepsAThousandSteps) {
  const CompositionFields before = FieldsOf(zelto);
  for (int n = 0; n < 1000; ++n) Act(TStepKind::Align, [&] { zelto.GetLayer(0).Left = n + 1; });
  EXPECT_EQ(history.UndoCount(), 1000u);
  while (history.Undo()) {
  }
  EXPECT_EQ(FieldsOf(zelto), before);
}

TEST_F(HistoryTest, DropsTheOldestStepsToStayWithinItsMemory) {
  // Every step brings a text of 1 MiB: about 64 of them fit.
  const int count = 80;
  for (int n = 1; n <= count; ++n)
    Act(TStepKind::Align, [&] { zelto.GetLayer(1).Text = std::string(1 << 20, static_cast<char>('a' + n % 26)); });
  EXPECT_LE(history.Bytes(), TZeltoHistory::kMaxBytes);
  const auto kept = static_cast<int>(history.UndoCount());
  EXPECT_GT(kept, 50);
  EXPECT_LT(kept, count);
  // What is left to undo are the newest steps.
  while (history.Undo()) {
  }
  const int oldestKept = count - kept + 1;
  EXPECT_EQ(zelto.GetLayer(1).Text, std::string(1 << 20, static_cast<char>('a' + (oldestKept - 1) % 26)));
}

TEST_F(HistoryTest, AStepOfOneLayerAmongManyCostsThatLayerAndAPointerEach) {
  for (int i = 0; i < 1000; ++i) zelto.AddLayer(std::string(100, static_cast<char>('a' + i % 26)));
  Type("x");
  const std::size_t bytes = history.Bytes();
  SelectOnly(500);
  Type("y");
  // 1,003 pointers and the new fields of one layer; copying every layer's 100 characters again
  // would cost 100 KiB more.
  EXPECT_LT(history.Bytes() - bytes, 1003 * 16 + 2048);
}

// With 1,000 layers selected, a paste of 100,000 characters is a step of about 100 MB. The
// composition as it stands does not count against the bound, and the newest step is kept
// whatever its size: the paste can be undone, and so can what came before it while there is room.
TEST_F(HistoryTest, AHugeStepIsKeptAndTheCompositionAsItStandsIsNotCounted) {
  for (int i = 0; i < 1000; ++i) zelto.AddLayer("small");
  Act(TStepKind::Select, [&] {
    for (int32_t i = 0; i < zelto.LayerCount(); ++i) zelto.SetLayerSelected(i, true);
  });
  Type("typed");
  history.BreakMerge();
  Type(std::string(100000, 'p').c_str());
  EXPECT_EQ(history.UndoCount(), 2u) << "the paste and the typing before it";
  EXPECT_LE(history.Bytes(), TZeltoHistory::kMaxBytes);

  // Another paste: its state before holds 100 MB that only the history keeps. It goes over the
  // bound, so the older steps go, but not this one.
  history.BreakMerge();
  Type(std::string(100000, 'q').c_str());
  EXPECT_EQ(history.UndoCount(), 1u);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(zelto.GetLayer(999).Text, std::string(100000, 'p'));
  EXPECT_FALSE(history.CanUndo());
  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(zelto.GetLayer(0).Text, std::string(100000, 'q'));
  // Smaller steps fit beside the composition as it stands; the paste, over the bound by itself,
  // goes once a newer step has come.
  Act(TStepKind::Align, [&] { zelto.GetLayer(0).Left = 1; });
  Act(TStepKind::Align, [&] { zelto.GetLayer(0).Left = 2; });
  EXPECT_EQ(history.UndoCount(), 2u);
}

// ---- Failures ----

// A window's view that fails to save, as when memory runs out, on the action's end or beginning.
class FailingViewTest : public HistoryTest {
 protected:
  FailingViewTest() {
    history.AddView(&failing, [this]() -> TViewState {
      if (failing) throw std::runtime_error("out of memory, say");
      return {};
    }, [](const std::any&) {});
    history.OnError = [this](const std::exception& error) { errors.push_back(error.what()); };
  }

  bool failing = false;
  std::vector<std::string> errors;
};

TEST_F(FailingViewTest, AStepThatCannotBeRecordedIsReportedAndTheNextOneRecords) {
  Type("recorded");
  failing = true;
  Type("not recorded");  // its end fails: this must not end the program
  EXPECT_EQ(errors, std::vector<std::string>{"out of memory, say"});
  EXPECT_EQ(zelto.GetLayer(0).Text, "not recorded");
  EXPECT_EQ(history.UndoCount(), 1u);

  Type("begun without a state");  // its beginning fails: no step for it either
  EXPECT_EQ(errors.size(), 2u);
  failing = false;
  const CompositionFields before = FieldsOf(zelto);
  Act(TStepKind::Align, [&] { zelto.GetLayer(0).Left = 77; });
  EXPECT_EQ(history.UndoCount(), 2u);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(FieldsOf(zelto), before);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(zelto.GetLayer(0).Text, "P");
}

// A handler that fails halfway, its error leaving the action's scope, has changed what it
// changed: that is one step, which undo takes back.
TEST_F(HistoryTest, AHandlerThatFailsHalfwayMakesOneStepOfWhatItChanged) {
  const CompositionFields before = FieldsOf(zelto);
  EXPECT_THROW(Act(TStepKind::Drag,
                   [&] {
                     zelto.GetLayer(0).MoveBy(10, 0);
                     throw std::runtime_error("Integer overflow");
                   }),
               std::runtime_error);
  EXPECT_EQ(history.UndoCount(), 1u);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(FieldsOf(zelto), before);
}

// ---- Saved and unsaved ----

TEST_F(HistoryTest, IsUnsavedFromTheFirstChangeUntilSavedAndSavedAgainWhenUndoneBackToIt) {
  history.MarkSaved();
  EXPECT_FALSE(history.Modified());
  SelectOnly(1);
  EXPECT_FALSE(history.Modified()) << "a selection is no change";
  Type("x");
  EXPECT_TRUE(history.Modified());
  history.MarkSaved();
  EXPECT_FALSE(history.Modified());
  Type("xy");
  Act(TStepKind::Align, [&] { zelto.GetLayer(1).AlignToAnchor(8); });
  EXPECT_TRUE(history.Modified());
  history.Undo();
  history.Undo();
  EXPECT_FALSE(history.Modified());
  history.Undo();
  EXPECT_TRUE(history.Modified());
  history.Redo();
  EXPECT_FALSE(history.Modified());
}

TEST_F(HistoryTest, StartingAfreshForgetsTheStepsAndShowsTheNewComposition) {
  Type("x");
  shown = 5;
  int reloaded = 0;
  history.AddView(&reloaded, [] { return TViewState{}; },
                  [&reloaded](const std::any& data) { reloaded += data.has_value() ? 100 : 1; });
  TZeltoContent content{{321, 123, OtherFont()}, {}};
  TZeltoLayerFields layer;
  layer.Text = "new";
  content.Layers = {std::make_shared<const TZeltoLayerFields>(layer)};
  const int32_t selection[] = {0};
  history.Start(content, selection);
  EXPECT_EQ(zelto.LayerCount(), 1);
  EXPECT_EQ(zelto.GetLayer(0).Text, "new");
  EXPECT_EQ(zelto.SelectionIndexes(), std::vector<int32_t>{0});
  EXPECT_EQ(zelto.CanvasFields(), content.Canvas);
  EXPECT_EQ(reloaded, 1) << "the views are told to show the composition as it stands";
  EXPECT_EQ(shown, -1);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Modified());
  Type("changed");
  EXPECT_TRUE(history.Modified());
  history.Undo();
  EXPECT_EQ(zelto.GetLayer(0).Text, "new");
  EXPECT_FALSE(history.Modified());
}

TEST_F(HistoryTest, StartingWithACanvasTheBitmapCannotTakeChangesNothing) {
  Type("x");
  const CompositionFields before = FieldsOf(zelto);
  const TZeltoContent content{{TBitmap::kMaxSide + 1, 10, OtherFont()}, {}};
  EXPECT_THROW(history.Start(content, {}), EOutOfResources);
  EXPECT_EQ(FieldsOf(zelto), before);
  EXPECT_TRUE(history.CanUndo());
}

}  // namespace
