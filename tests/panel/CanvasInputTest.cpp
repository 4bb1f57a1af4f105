// The keys and the double-click of the canvas: the arrows nudge the selected layers, Delete
// deletes them, the zoom keys zoom the view, and a double-click picks the layer drawn under the
// pointer. Each key is pressed in every control where a user may have the focus, where it keeps
// its own meaning outside the canvas area.
#include "tests/panel/PanelFixture.h"

#include "toolkit/UpDown.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

enum class Focus { CanvasArea, PaintArea, List, Memo, WidthField, SpacingField };

const char* const kFocusNames[] = {"CanvasArea", "PaintArea", "List", "Memo", "WidthField", "SpacingField"};

class CanvasInputTest : public PanelTest {
 protected:
  static QWidget* Control(Focus focus) {
    switch (focus) {
      case Focus::CanvasArea: return MainForm->ScrollBox1;
      case Focus::PaintArea: return MainForm->PBox;
      case Focus::List: return LayerForm->LBox;
      case Focus::Memo: return LayerForm->MemText;
      case Focus::WidthField: return MainForm->EditW;
      default: return LayerForm->EditLineSpan;
    }
  }

  // Gives `control` the keyboard focus in its active window, as a user's click would.
  static void FocusOn(QWidget* control) {
    control->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(control->window()));
    control->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), control);
  }

  static QPoint Place(int32_t index) {
    const TZeltoLayer& layer = Composition->GetLayer(index);
    return QPoint(layer.Left, layer.Top);
  }

  std::size_t Steps() const { return Composition->History.UndoCount(); }
};

// --- Each key in each focus ---

// Layers "A", "B" over "b", "C" at (20, 30), (40, 50), (60, 70), row 1 marked and current, the zoom at
// `zoom`; then `key` in `focus`.
struct KeyCase {
  std::string name;
  Focus focus;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  QPoint moved = {};        // of layer 1
  int32_t layers = 3;       // afterwards
  std::size_t steps = 0;    // of the history that the key made
  TZoom zoom = {};          // before the key
  TZoom zoomAfter = {};     // {0, 1}: the zoom that fits the canvas into the view
  // What the key does in the control with the focus, where it keeps its own meaning.
  std::function<void()> own = {};
};

class CanvasKeyTest : public CanvasInputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CanvasKeyTest, DoesWhatItDoesInTheControlWithTheFocus) {
  const KeyCase& c = GetParam();
  MakeLayers({"A", "B\r\nb", "C"});
  for (int32_t i = 0; i < 3; ++i) Composition->GetLayer(i).MoveBy(20 + 20 * i, 30 + 20 * i);
  FocusList();
  ClickRow(1);
  MainForm->SetZoom(c.zoom, QPoint(0, 0));
  QWidget* control = Control(c.focus);
  FocusOn(control);
  if (HasFatalFailure()) return;
  form->MemText->moveCursor(QTextCursor::Start);
  const QPoint before = Place(1);
  const std::size_t steps = Steps();
  QTest::keyClick(control, c.key, c.modifiers);

  EXPECT_EQ(Composition->LayerCount(), c.layers);
  if (c.layers == 3) {
    EXPECT_EQ(Place(1) - before, c.moved);
  }
  EXPECT_EQ(Place(0), QPoint(20, 30)) << "an unselected layer stays";
  EXPECT_EQ(Steps() - steps, c.steps);
  const TZoom fit = FitZoom(QSize(Composition->Width, Composition->Height),
                            MainForm->ScrollBox1->maximumViewportSize());
  EXPECT_EQ(MainForm->Zoom(), c.zoomAfter == TZoom({0, 1}) ? fit : c.zoomAfter);
  EXPECT_EQ(QApplication::focusWidget(), control);
  if (c.own) c.own();
}

std::vector<KeyCase> KeyCases() {
  const TZoom one{1, 1};
  std::vector<KeyCase> cases;
  // The canvas area takes the arrows for nudging, by 1 and by 10 with Shift, and Delete.
  for (const Focus focus : {Focus::CanvasArea, Focus::PaintArea}) {
    const std::string in = kFocusNames[int(focus)];
    const struct {
      const char* name;
      Qt::Key key;
      QPoint by;
    } arrows[] = {{"Left", Qt::Key_Left, {-1, 0}}, {"Right", Qt::Key_Right, {1, 0}},
                  {"Up", Qt::Key_Up, {0, -1}},     {"Down", Qt::Key_Down, {0, 1}}};
    for (const auto& arrow : arrows) {
      cases.push_back({.name = arrow.name + in, .focus = focus, .key = arrow.key, .moved = arrow.by, .steps = 1,
                       .zoom = one, .zoomAfter = one});
      cases.push_back({.name = "Shift" + (arrow.name + in), .focus = focus, .key = arrow.key,
                       .modifiers = Qt::ShiftModifier, .moved = arrow.by * 10, .steps = 1, .zoom = one,
                       .zoomAfter = one});
    }
    // A nudge is a canvas pixel at any zoom.
    cases.push_back({.name = "LeftAt400Percent" + in, .focus = focus, .key = Qt::Key_Left, .moved = {-1, 0},
                     .steps = 1, .zoom = {4, 1}, .zoomAfter = {4, 1}});
    cases.push_back({.name = "CtrlRight" + in, .focus = focus, .key = Qt::Key_Right,
                     .modifiers = Qt::ControlModifier, .zoom = one, .zoomAfter = one});
    cases.push_back({.name = "Delete" + in, .focus = focus, .key = Qt::Key_Delete, .layers = 2, .steps = 1,
                     .zoom = one, .zoomAfter = one, .own = [] {
                       EXPECT_EQ(Composition->GetLayer(1).GetText(), "C");
                     }});
  }
  // Elsewhere the keys keep their meaning; Delete deletes the layers in the list too.
  const auto marked = [](std::vector<int> rows) {
    return [rows] {
      std::vector<int> now;
      for (int32_t i = 0; i < LayerForm->LBox->Count(); ++i)
        if (LayerForm->LBox->Selected(i)) now.push_back(i);
      EXPECT_EQ(now, rows);
      EXPECT_EQ(Composition->SelectedCount(), static_cast<int32_t>(rows.size()));
    };
  };
  const auto memo = [](int position, const char* text) {
    return [position, text] {
      EXPECT_EQ(LayerForm->MemText->textCursor().position(), position);
      EXPECT_EQ(LayerForm->MemText->toPlainText(), text);
    };
  };
  const auto width = [](const char* text, int cursor) {
    return [text, cursor] {
      EXPECT_EQ(MainForm->EditW->text(), text);
      EXPECT_EQ(MainForm->EditW->cursorPosition(), cursor);
      EXPECT_EQ(Composition->Width, MainForm->EditW->text().toInt());
    };
  };
  const auto lineSpan = [](int32_t span) {
    return [span] { EXPECT_EQ(Composition->GetLayer(1).LineSpan, span); };
  };
  const KeyCase own[] = {
      {.name = "UpList", .focus = Focus::List, .key = Qt::Key_Up, .own = marked({0})},
      {.name = "DownList", .focus = Focus::List, .key = Qt::Key_Down, .own = marked({2})},
      {.name = "ShiftDownList", .focus = Focus::List, .key = Qt::Key_Down, .modifiers = Qt::ShiftModifier,
       .own = marked({1, 2})},
      {.name = "DeleteList", .focus = Focus::List, .key = Qt::Key_Delete, .layers = 2, .steps = 1,
       .own = marked({0})},
      {.name = "RightMemo", .focus = Focus::Memo, .key = Qt::Key_Right, .own = memo(1, "B\nb")},
      {.name = "ShiftRightMemo", .focus = Focus::Memo, .key = Qt::Key_Right, .modifiers = Qt::ShiftModifier,
       .own = [] { EXPECT_EQ(LayerForm->MemText->textCursor().selectedText(), "B"); }},
      {.name = "DownMemo", .focus = Focus::Memo, .key = Qt::Key_Down, .own = memo(2, "B\nb")},
      {.name = "DeleteMemo", .focus = Focus::Memo, .key = Qt::Key_Delete, .steps = 1, .own = [] {
         EXPECT_EQ(LayerForm->MemText->toPlainText(), "\nb");
         EXPECT_EQ(Composition->GetLayer(1).GetText(), "b");
       }},
      {.name = "UpWidthField", .focus = Focus::WidthField, .key = Qt::Key_Up, .steps = 1, .own = width("201", 3)},
      {.name = "DownWidthField", .focus = Focus::WidthField, .key = Qt::Key_Down, .steps = 1,
       .own = width("199", 3)},
      {.name = "LeftWidthField", .focus = Focus::WidthField, .key = Qt::Key_Left, .own = width("200", 2)},
      {.name = "DeleteWidthField", .focus = Focus::WidthField, .key = Qt::Key_Delete, .own = width("200", 3)},
      {.name = "UpSpacingField", .focus = Focus::SpacingField, .key = Qt::Key_Up, .steps = 1, .own = lineSpan(1)},
      {.name = "DownSpacingField", .focus = Focus::SpacingField, .key = Qt::Key_Down, .steps = 1,
       .own = lineSpan(-1)},
      {.name = "DeleteSpacingField", .focus = Focus::SpacingField, .key = Qt::Key_Delete, .own = [] {
         EXPECT_EQ(LayerForm->EditLineSpan->text(), "0");
       }},
  };
  for (KeyCase c : own) {
    c.zoom = c.zoomAfter = one;
    cases.push_back(c);
  }
  // The zoom keys work everywhere, and change nothing but the view.
  for (int focus = 0; focus < 6; ++focus) {
    const std::string in = kFocusNames[focus];
    const struct {
      const char* name;
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      TZoom zoom, zoomAfter;
    } keys[] = {{"CtrlPlus", Qt::Key_Plus, Qt::ControlModifier, one, {3, 2}},
                {"CtrlEqual", Qt::Key_Equal, Qt::ControlModifier, {3, 2}, {2, 1}},
                {"CtrlKeypadPlus", Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, {2, 1}, {3, 1}},
                {"CtrlMinus", Qt::Key_Minus, Qt::ControlModifier, one, {2, 3}},
                {"Ctrl0", Qt::Key_0, Qt::ControlModifier, {12, 1}, one},
                {"Ctrl9", Qt::Key_9, Qt::ControlModifier, {1, 8}, {0, 1}}};
    for (const auto& key : keys)
      cases.push_back({.name = key.name + in, .focus = Focus(focus), .key = key.key, .modifiers = key.modifiers,
                       .zoom = key.zoom, .zoomAfter = key.zoomAfter});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Keys, CanvasKeyTest, ::testing::ValuesIn(KeyCases()),
                         [](const auto& info) { return info.param.name; });

// --- Undo steps ---

TEST_F(CanvasInputTest, ARunOfNudgesIsOneStep) {
  MakeLayers({"A", "B"});
  FocusList();
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  FocusOn(MainForm->PBox);
  const std::size_t steps = Steps();
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Left, Qt::NoModifier}, {Qt::Key_Left, Qt::NoModifier},
                                       {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Right, Qt::NoModifier}})
    QTest::keyClick(MainForm->PBox, key, modifiers);
  EXPECT_EQ(Place(0), QPoint(-1, 10));
  EXPECT_EQ(Place(1), QPoint(-1, 10));
  EXPECT_EQ(Steps(), steps + 1);
  QTest::keyClick(MainForm->PBox, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Place(0), QPoint(0, 0));
  EXPECT_EQ(Place(1), QPoint(0, 0));
  QTest::keyClick(MainForm->PBox, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Place(1), QPoint(-1, 10));
  // A drag between two runs parts them.
  QTest::mousePress(MainForm->PBox, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, {}, QPoint(6, 5));
  QTest::keyClick(MainForm->PBox, Qt::Key_Up);
  EXPECT_EQ(Steps(), steps + 3);
  EXPECT_EQ(Place(1), QPoint(0, 9));
}

TEST_F(CanvasInputTest, NudgingNothingSelectedDoesNothingAndTheArrowsDoNotScrollTheCanvas) {
  MakeLayers({"A"});
  MainForm->EditW->setText("999");
  MainForm->ScrollBox1->horizontalScrollBar()->setValue(100);
  FocusOn(MainForm->ScrollBox1);
  Settle();
  const std::size_t steps = Steps();
  QTest::keyClick(MainForm->ScrollBox1, Qt::Key_Left);
  QTest::keyClick(MainForm->PBox, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Place(0), QPoint(0, 0));
  EXPECT_TRUE(log.Entries.empty());
  EXPECT_EQ(MainForm->ScrollBox1->horizontalScrollBar()->value(), 100);
  EXPECT_EQ(Steps(), steps);
}

TEST_F(CanvasInputTest, ANudgeBeyond32BitsIsReportedAndTheProgramGoesOn) {
  MakeLayers({"A", "B"});
  Composition->GetLayer(1).Left = INT32_MIN;
  FocusList();
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  FocusOn(MainForm->PBox);
  QTest::keyClick(MainForm->PBox, Qt::Key_Left);
  EXPECT_EQ(reports, QStringList{"Integer overflow"});
  reports.clear();
  EXPECT_EQ(Place(0), QPoint(-1, 0)) << "the layers before the one that overflowed moved";
  EXPECT_EQ(Place(1), QPoint(INT32_MIN, 0));
  QTest::keyClick(MainForm->PBox, Qt::Key_Right);
  EXPECT_EQ(Place(0), QPoint(0, 0));
  EXPECT_EQ(Place(1), QPoint(INT32_MIN + 1, 0));
}

// Delete in the list and in the canvas area does what a click on the button does: the same
// layers go, the same rows are marked, the same repaints happen, in one step.
TEST_F(CanvasInputTest, DeleteDoesWhatTheButtonDoes) {
  struct Outcome {
    std::vector<std::string> texts;
    std::vector<int> marked, selection;
    int32_t current;
    QString memo;
    Repaints repaints;
    std::size_t steps;
    bool operator==(const Outcome&) const = default;
  };
  MakeLayers({"P", "Q", "R", "S"});
  FocusList();
  ClickRow(1);
  ClickRow(3, Qt::ControlModifier);
  const std::vector<std::string> texts = Texts();
  const auto outcome = [this](const std::function<void()>& act) {
    Settle();
    const std::size_t steps = Steps();
    act();
    Outcome result{Texts(), MarkedRows(), SelectionOrder(), form->LBox->ItemIndex(), form->MemText->toPlainText(),
                   log.Entries, Steps() - steps};
    MainForm->BtnUndo->click();
    return result;
  };
  for (QWidget* control : {static_cast<QWidget*>(MainForm->ScrollBox1), static_cast<QWidget*>(MainForm->PBox),
                           static_cast<QWidget*>(form->LBox)}) {
    FocusOn(control);
    const Outcome button = outcome([this] { form->BtnDel->click(); });
    ASSERT_EQ(Texts(), texts);
    const Outcome key = outcome([control] { QTest::keyClick(control, Qt::Key_Delete); });
    EXPECT_EQ(Texts(), texts) << "one undo brings both layers back";
    EXPECT_EQ(button.texts, (std::vector<std::string>{"P", "R"}));
    EXPECT_EQ(button.steps, 1u);
    EXPECT_TRUE(key == button) << control->objectName().toStdString();
  }
}

// --- Anchors ---

// A layer that an alignment button placed keeps the button's anchor until it is moved on the
// canvas; an undo brings the anchor back with the place.
struct MoveCase {
  const char* name;
  std::function<void()> move;  // of the selected layer 0, on the canvas
  QPoint by;
};

class AnchorMoveTest : public CanvasInputTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(AnchorMoveTest, AMoveOnTheCanvasClearsTheAnchor) {
  const MoveCase& c = GetParam();
  MakeLayers({"A", "B"});
  FocusList();
  ClickRow(1);
  QTest::mouseClick(form->BtnRB, Qt::LeftButton);
  ClickRow(0);
  QTest::mouseClick(form->BtnCC, Qt::LeftButton);
  ASSERT_EQ(Composition->GetLayer(0).Anchor, 4);
  ASSERT_EQ(Composition->GetLayer(1).Anchor, 8);
  const QPoint centred = Place(0), cornered = Place(1);
  FocusOn(MainForm->PBox);
  c.move();

  EXPECT_EQ(Place(0) - centred, c.by);
  EXPECT_EQ(Composition->GetLayer(0).Anchor, c.by.isNull() ? std::optional<uint8_t>(4) : std::nullopt);
  EXPECT_EQ(Place(1), cornered);
  EXPECT_EQ(Composition->GetLayer(1).Anchor, 8) << "a layer not selected keeps its anchor";
  QTest::keyClick(MainForm->PBox, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Place(0), centred);
  EXPECT_EQ(Composition->GetLayer(0).Anchor, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, AnchorMoveTest,
    ::testing::Values(
        MoveCase{"Drag",
                 [] {
                   QTest::mousePress(MainForm->PBox, Qt::LeftButton, {}, QPoint(5, 5));
                   QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, {}, QPoint(12, 9));
                 },
                 {7, 4}},
        MoveCase{"Nudge", [] { QTest::keyClick(MainForm->PBox, Qt::Key_Left); }, {-1, 0}},
        MoveCase{"NudgeByTen", [] { QTest::keyClick(MainForm->PBox, Qt::Key_Down, Qt::ShiftModifier); }, {0, 10}},
        MoveCase{"AClickThatMovesNothing",
                 [] {
                   QTest::mouseClick(MainForm->PBox, Qt::LeftButton, {}, QPoint(5, 5));
                   // Something to undo: the undo below takes this layer's text back, not its place.
                   LayerForm->MemText->setPlainText("AB");
                 },
                 {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Picking a layer on the canvas ---

// Layers 0 "A" and 1 "AAAAAAAA" both at (10, 10), 2 "E" hidden over 3 "E" at (100, 100), and 4
// partly off the canvas, its block's left half beyond the left edge and all but its bottom three
// rows beyond the top; rows 1 and 3 marked, row 3 current. The point is in canvas pixels.
struct PickCase {
  const char* name;
  QPoint at;
  bool ctrl;
  TZoom zoom;
  std::vector<int> marked;
  int32_t current;
};

class CanvasPickTest : public CanvasInputTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(CanvasPickTest, ADoubleClickPicksTheTopMostVisibleLayerDrawnThere) {
  const PickCase& c = GetParam();
  MakeLayers({"A", "AAAAAAAA", "E", "E", "GGGGGGGG"});
  TZeltoLayer& off = Composition->GetLayer(4);
  off.AlignToAnchor(0);  // measures the block
  ASSERT_GT(off.BlockWidth, 8);
  ASSERT_GT(off.BlockHeight, 8);
  const QPoint places[] = {{10, 10}, {10, 10}, {100, 100}, {100, 100}, {-off.BlockWidth / 2, 3 - off.BlockHeight}};
  for (int32_t i = 0; i < 5; ++i) {
    Composition->GetLayer(i).Left = places[i].x();
    Composition->GetLayer(i).Top = places[i].y();
  }
  Composition->SetLayerVisible(2, false);
  FocusList();
  ClickRow(1);
  ClickRow(3, Qt::ControlModifier);
  MainForm->SetZoom(c.zoom, QPoint(0, 0));
  const std::size_t steps = Steps();
  // A view pixel inside the canvas pixel.
  const auto view = [&c](int v) {
    return v * c.zoom.Numerator / c.zoom.Denominator + c.zoom.Numerator / c.zoom.Denominator / 2;
  };
  const QPoint at(view(c.at.x()), view(c.at.y()));
  ASSERT_EQ(QPoint(c.zoom.ToCanvas(at.x()), c.zoom.ToCanvas(at.y())), c.at);
  const Qt::KeyboardModifiers modifiers = c.ctrl ? Qt::ControlModifier : Qt::NoModifier;
  QTest::mouseDClick(MainForm->PBox, Qt::LeftButton, modifiers, at);
  QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, modifiers, at);

  EXPECT_EQ(MarkedRows(), c.marked);
  const std::vector<int> selection = SelectionOrder();
  EXPECT_EQ(std::set<int>(selection.begin(), selection.end()), std::set<int>(c.marked.begin(), c.marked.end()));
  EXPECT_EQ(form->LBox->ItemIndex(), c.current);
  ASSERT_FALSE(selection.empty());
  EXPECT_EQ(form->MemText->toPlainText().toStdString(), Texts()[static_cast<std::size_t>(selection[0])]);
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(Place(i), places[i]) << "nothing moves";
  EXPECT_EQ(Steps(), steps) << "a change of selection alone is no step";
  EXPECT_FALSE(MainForm->Dragging);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasPickTest,
    ::testing::Values(PickCase{"OverlappingTheLowerIndexWins", {11, 12}, false, {1, 1}, {0}, 0},
                      PickCase{"BesideTheUpperLayer", {40, 12}, false, {1, 1}, {1}, 1},
                      PickCase{"AHiddenLayerIsPassedOver", {102, 102}, false, {1, 1}, {3}, 3},
                      PickCase{"OnNoLayerNothingChanges", {150, 50}, false, {1, 1}, {1, 3}, 3},
                      PickCase{"ALayerPartlyOffTheCanvasIsPickedWhereItIsDrawn", {2, 1}, false, {1, 1}, {4}, 4},
                      // Where its block would be, were it moved onto the canvas whole.
                      PickCase{"BelowWhereItIsDrawnNothingIsPicked", {2, 6}, false, {1, 1}, {1, 3}, 3},
                      PickCase{"CtrlAddsARow", {11, 12}, true, {1, 1}, {0, 1, 3}, 0},
                      PickCase{"CtrlRemovesARow", {102, 102}, true, {1, 1}, {1}, 3},
                      PickCase{"At300Percent", {11, 12}, false, {3, 1}, {0}, 0},
                      PickCase{"At33Percent", {102, 102}, false, {1, 3}, {3}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// A Ctrl+double-click on a layer does what a Ctrl+click on its row does, marking the row or
// taking its mark away: the same marks and current row, from which Shift+Down then marks a range,
// the same selection and editors, and no step of the history.
TEST_F(CanvasInputTest, ACtrlDoubleClickOnALayerIsACtrlClickOnItsRow) {
  MakeLayers({"P", "Q", "R", "S"});
  for (int32_t i = 0; i < 4; ++i) Composition->GetLayer(i).MoveBy(10, 10 + 30 * i);
  struct Outcome {
    std::vector<int> marked, selection;
    int32_t current;
    QString memo;
    std::size_t steps;
    std::vector<int> rangeMarked;
  };
  const auto outcome = [this](const std::function<void()>& act) {
    FocusList();
    ClickRow(1);
    const std::size_t steps = Steps();
    act();
    Outcome result{MarkedRows(), SelectionOrder(), form->LBox->ItemIndex(), form->MemText->toPlainText(),
                   Steps() - steps, {}};
    FocusList();
    QTest::keyClick(form->LBox, Qt::Key_Down, Qt::ShiftModifier);
    result.rangeMarked = MarkedRows();
    return result;
  };
  for (const int row : {2, 1}) {
    const Outcome click = outcome([this, row] { ClickRow(row, Qt::ControlModifier); });
    const Outcome pick = outcome([this, row] {
      const QPoint at = Place(row) + QPoint(2, 2);
      QTest::mouseDClick(MainForm->PBox, Qt::LeftButton, Qt::ControlModifier, at);
      QTest::mouseRelease(MainForm->PBox, Qt::LeftButton, Qt::ControlModifier, at);
    });
    EXPECT_EQ(pick.marked, click.marked) << "row " << row;
    EXPECT_EQ(pick.selection, click.selection) << "row " << row;
    EXPECT_EQ(pick.current, row);
    EXPECT_EQ(click.current, row);
    EXPECT_EQ(pick.memo, click.memo) << "row " << row;
    EXPECT_EQ(pick.steps, 0u);
    EXPECT_EQ(click.steps, 0u);
    EXPECT_EQ(pick.rangeMarked, click.rangeMarked) << "row " << row;
  }
}

}  // namespace
