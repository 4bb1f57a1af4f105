// The layer list: the panel window, the rows and their check boxes, the selection and the
// buttons that add, copy, delete and reorder layers.
#include "tests/panel/PanelFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/ScopedCodePage.h"

#include "toolkit/TickCount.h"
#include "toolkit/UiFont.h"
#include "toolkit/UpDown.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>

#include <string>
#include <string_view>
#include <utility>

namespace {

TEST_F(PanelTest, StandsLeftOfTheMainWindowAsLaidOut) {
  EXPECT_EQ(form->windowTitle(), "LayerForm");
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(form->frameGeometry(), QRect(152, 231, 150, 474));
  EXPECT_EQ(form->frameGeometry().topRight() + QPoint(1, 0), MainForm->frameGeometry().topLeft());
  EXPECT_EQ(form->font(), UiFont().ToQFont());

  EXPECT_EQ(form->Panel1->geometry(), QRect(0, 0, form->width(), 41));
  const std::pair<QToolButton*, const char*> hints[] = {
      {form->BtnAdd, "create"}, {form->BtnDel, "delete"}, {form->BtnCopy, "create copy"}};
  for (const auto& [button, hint] : hints) {
    EXPECT_EQ(button->parentWidget(), form->Panel1);
    EXPECT_EQ(button->size(), QSize(25, 25));
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_FALSE(button->icon().isNull());
  }
  // From top to bottom: the list, the 3-pixel splitter, the memo, the lower panel.
  EXPECT_EQ(form->Splitter1->orientation(), Qt::Vertical);
  EXPECT_EQ(form->Splitter1->handleWidth(), 3);
  EXPECT_EQ(form->Splitter1->indexOf(form->LBox), 0);
  EXPECT_EQ(form->Splitter1->indexOf(form->MemText), 1);
  EXPECT_EQ(form->MemText->height(), 89);
  EXPECT_EQ(form->Panel2->height(), 135);
  EXPECT_EQ(form->Panel2->geometry().bottom(), form->height() - 1);
  EXPECT_EQ(form->LBox->height() + 3 + 89 + 41 + 135, form->height());

  EXPECT_EQ(form->LBox->Count(), 0);
  EXPECT_EQ(form->LBox->ItemHeight(), 18);
  EXPECT_EQ(form->LBox->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(PressKind, 0);
  ASSERT_NE(form->WorkFont, nullptr);
  for (QToolButton* button : {form->BtnUp, form->BtnDown, form->BtnFont, form->BtnColor})
    EXPECT_TRUE(button->toolTip().isEmpty());

  // The spacing fields: numeric edits starting at "0", spinners of -100..100 that do not wrap.
  for (auto [edit, spinner] :
       {std::pair{form->EditLineSpan, form->UdLineSpan}, std::pair{form->EditCharSpan, form->UdCharSpan}}) {
    EXPECT_EQ(edit->parentWidget(), form->Panel2);
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(spinner->Associate(), edit);
    EXPECT_EQ(spinner->Min(), -100);
    EXPECT_EQ(spinner->Max(), 100);
    EXPECT_FALSE(spinner->Wrap);
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_NE(edit->validator(), nullptr);
  }
  EXPECT_LT(form->EditLineSpan->y(), form->EditCharSpan->y());

  // The alignment buttons mirror their anchors: Tag mod 3 the column, Tag div 3 the row.
  QToolButton* const grid[] = {form->BtnLT, form->BtnCT, form->BtnRT, form->BtnLC, form->BtnCC,
                               form->BtnRC, form->BtnLB, form->BtnCB, form->BtnRB};
  for (int tag = 0; tag < 9; ++tag) {
    QToolButton* button = grid[tag];
    EXPECT_EQ(button->property("Tag").toInt(), tag);
    EXPECT_EQ(button->size(), QSize(25, 25));
    EXPECT_EQ(button->pos() - grid[0]->pos(), QPoint(25 * (tag % 3), 25 * (tag / 3))) << tag;
    EXPECT_FALSE(button->icon().isNull());
  }
}

// Nothing keeps the panel on the screen: beside a main window near the left edge it stands
// partly off it.
TEST_F(PanelTest, StandsBesideTheMainWindowWhereverThatIs) {
  delete LayerForm;
  MainForm->move(40, 300);
  LayerForm = form = new TLayerForm;
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(40 - 150, 300));
}

TEST_F(PanelTest, ClosingThePanelOnlyHidesIt) {
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(form->isHidden());
  EXPECT_TRUE(MainForm->isVisible());
  EXPECT_EQ(LayerForm, form);
  // It goes on working hidden.
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  EXPECT_EQ(Composition->LayerCount(), 1);
}

// The closed panel comes back with Ctrl+L, pressed in the main window, where it was and with its
// list and editors as they were; in the panel itself the key changes nothing.
TEST_F(PanelTest, CtrlLShowsTheClosedPanelAgainAsItWas) {
  MakeLayers({"P", "Q", "R"});
  FocusList();
  ClickRow(0);
  ClickRow(2, Qt::ControlModifier);
  QTest::keyClicks(form->MemText, "typed");
  form->UdCharSpan->Step(-1);
  const QRect place = form->frameGeometry();
  const std::vector<int> marked = MarkedRows();
  const QString memo = form->MemText->toPlainText(), charSpan = form->EditCharSpan->text();
  const int32_t current = form->LBox->ItemIndex();

  EXPECT_TRUE(form->close());
  ASSERT_TRUE(form->isHidden());
  MainForm->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
  QTest::keyClick(MainForm->EditW, Qt::Key_L, Qt::ControlModifier);
  ASSERT_TRUE(form->isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(form->frameGeometry(), place);
  EXPECT_EQ(MarkedRows(), marked);
  EXPECT_EQ(form->LBox->ItemIndex(), current);
  EXPECT_EQ(form->MemText->toPlainText(), memo);
  EXPECT_EQ(form->EditCharSpan->text(), charSpan);
  EXPECT_EQ(MainForm->EditW->text(), "200");

  QTest::keyClick(form->LBox, Qt::Key_L, Qt::ControlModifier);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(MarkedRows(), marked);
  EXPECT_EQ(Composition->LayerCount(), 3);
}

// --- Adding, copying, deleting ---

TEST_F(PanelTest, AddOnAnEmptyCompositionSelectsTheTickCountLayer) {
  Settle();
  const uint32_t before = GetTickCount();
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  const uint32_t after = GetTickCount();
  ASSERT_EQ(Composition->LayerCount(), 1);
  EXPECT_EQ(form->LBox->Count(), 1);
  const std::string text = Composition->GetLayer(0).GetText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text[0], '0');
  EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
  const uint32_t tick = static_cast<uint32_t>(std::stoul(text));
  EXPECT_LE(tick - before, after - before);  // also across a wrap of the count
  EXPECT_EQ(MarkedRows(), std::vector<int>{0});
  EXPECT_EQ(form->LBox->ItemIndex(), 0);
  EXPECT_EQ(SelectionOrder(), std::vector<int>{0});
  EXPECT_EQ(form->MemText->toPlainText().toStdString(), text);
  // Loading the memo stored its text again and redrew the list and the canvas; then the
  // canvas once more.
  EXPECT_EQ(log.Entries, (Repaints{"list", "canvas", "canvas"}));
}

// The row count changes, and the marks with it: a new count clears them, so that the new or
// copied row alone is marked afterwards.
TEST_F(PanelTest, AddLeavesOnlyTheNewRowSelected) {
  MakeLayers({"P", "Q"});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  EXPECT_EQ(MarkedRows(), std::vector<int>{2});
  EXPECT_EQ(SelectionOrder(), std::vector<int>{2});
  EXPECT_EQ(Texts()[0], "P");
  EXPECT_EQ(Texts()[1], "Q");
  EXPECT_EQ(form->MemText->toPlainText().toStdString(), Texts()[2]);
}

TEST_F(PanelTest, CopyOfRowsZeroAndTwoMarksTheCopyOfTwo) {
  MakeLayers({"A", "B", "C"});
  ClickRow(0);
  ClickRow(2, Qt::ControlModifier);
  Composition->GetLayer(2).Left = 17;
  Settle();
  QTest::mouseClick(form->BtnCopy, Qt::LeftButton);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"A", "B", "C", "A", "C"}));
  EXPECT_EQ(Composition->GetLayer(4).Left, 17);
  EXPECT_EQ(form->LBox->Count(), 5);
  EXPECT_EQ(MarkedRows(), std::vector<int>{4});
  EXPECT_EQ(SelectionOrder(), std::vector<int>{4});
  EXPECT_EQ(form->WorkValue, 4);
  EXPECT_EQ(form->MemText->toPlainText(), "C");
  EXPECT_EQ(log.Entries, (Repaints{"list", "canvas", "canvas"}));
}

struct DeleteCase {
  const char* name;
  std::vector<const char*> layers;
  std::vector<int> marked;
  std::vector<std::string> remaining;
  std::vector<int> markedAfter;
  Repaints repaints;
};

class PanelDeleteTest : public PanelTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(PanelDeleteTest, MarksTheRowAboveTheTopMostDeletedOne) {
  const DeleteCase& c = GetParam();
  for (const char* text : c.layers) Composition->AddLayer(text);
  form->UpdateCount();
  for (size_t i = 0; i < c.marked.size(); ++i) ClickRow(c.marked[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
  const QString memo = form->MemText->toPlainText();
  Settle();
  QTest::mouseClick(form->BtnDel, Qt::LeftButton);
  EXPECT_EQ(Texts(), c.remaining);
  EXPECT_EQ(form->LBox->Count(), Composition->LayerCount());
  EXPECT_EQ(MarkedRows(), c.markedAfter);
  EXPECT_EQ(SelectionOrder(), c.markedAfter);
  EXPECT_EQ(log.Entries, c.repaints);
  if (c.markedAfter.empty()) {
    EXPECT_EQ(form->MemText->toPlainText(), memo);  // the editors keep what they show
  } else {
    EXPECT_EQ(form->MemText->toPlainText().toStdString(), c.remaining[c.markedAfter[0]]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelDeleteTest,
    ::testing::Values(
        // Row 1 is marked; loading it into the memo stores it again and redraws list and canvas.
        DeleteCase{"RowsTwoAndThreeOfFive", {"P", "Q", "R", "S", "T"}, {2, 3}, {"P", "Q", "T"}, {1},
                   {"list", "canvas", "canvas"}},
        DeleteCase{"RowZero", {"P", "Q", "R"}, {0}, {"Q", "R"}, {0}, {"list", "canvas", "canvas"}},
        DeleteCase{"TheOnlyLayer", {"P"}, {0}, {}, {}, {"canvas"}},
        DeleteCase{"NothingSelected", {"P", "Q"}, {}, {"P", "Q"}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Up and down ---

struct MoveCase {
  const char* name;
  bool up;
  std::vector<int> marked;
  std::vector<std::string> firstMove;
  std::vector<int> markedAfter;
};

class PanelMoveTest : public PanelTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(PanelMoveTest, SelectedLayersMoveAsABlockUntilTheEnd) {
  const MoveCase& c = GetParam();
  MakeLayers({"P", "Q", "R", "S"});
  for (size_t i = 0; i < c.marked.size(); ++i) ClickRow(c.marked[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
  // The memo shows something else than the first selected layer; nothing reloads it.
  {
    const QSignalBlocker quiet(form->MemText);
    form->MemText->setPlainText(QStringLiteral("typed"));
  }
  Settle();
  QToolButton* button = c.up ? form->BtnUp : form->BtnDown;
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Texts(), c.firstMove);
  EXPECT_EQ(MarkedRows(), c.markedAfter);
  std::vector<int> selected;
  for (int32_t i = 0; i < Composition->LayerCount(); ++i)
    if (Composition->LayerSelected(i)) selected.push_back(i);
  EXPECT_EQ(selected, c.markedAfter);
  EXPECT_EQ(form->MemText->toPlainText(), "typed");
  EXPECT_EQ(log.Entries, Repaints{"canvas"});

  Settle();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Texts(), c.firstMove);
  EXPECT_EQ(MarkedRows(), c.markedAfter);
  EXPECT_TRUE(log.Entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelMoveTest,
    ::testing::Values(MoveCase{"UpRowsOneAndTwo", true, {1, 2}, {"Q", "R", "P", "S"}, {0, 1}},
                      MoveCase{"DownRowsOneAndTwo", false, {1, 2}, {"P", "S", "Q", "R"}, {2, 3}},
                      MoveCase{"UpRowsOneAndThree", true, {1, 3}, {"Q", "P", "S", "R"}, {0, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, UpAndDownNeedTwoRows) {
  MakeLayers({"P"});
  ClickRow(0);
  Settle();
  QTest::mouseClick(form->BtnUp, Qt::LeftButton);
  QTest::mouseClick(form->BtnDown, Qt::LeftButton);
  EXPECT_EQ(MarkedRows(), std::vector<int>{0});
  EXPECT_TRUE(log.Entries.empty());
}

// --- The check boxes ---

struct BoxCase {
  const char* name;
  Cell press;
  int pressRow;
  Cell release;
  int releaseRow;
  Qt::MouseButton button;
  bool visibleToggled;
  bool defaultFontToggled;
};

class PanelBoxTest : public PanelTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(PanelBoxTest, TogglesOnlyOnPressAndReleaseInTheSameCell) {
  const BoxCase& c = GetParam();
  // Layers of one text: selecting either loads nothing new, so only the boxes redraw the canvas.
  MakeLayers({"P", "P"});
  ClickRow(0);
  Settle();
  QWidget* viewport = form->LBox->viewport();
  QTest::mousePress(viewport, c.button, Qt::NoModifier, CellPoint(c.pressRow, c.press));
  const uint8_t expectedKind = c.press == Cell::Visibility ? 1 : c.press == Cell::DefaultFont ? 2 : 0;
  EXPECT_EQ(PressKind, expectedKind);
  if (expectedKind != 0) {
    EXPECT_EQ(PressIndex, c.pressRow);
  }
  QTest::mouseRelease(viewport, c.button, Qt::NoModifier, CellPoint(c.releaseRow, c.release));
  EXPECT_EQ(PressKind, 0);
  const TZeltoLayer& layer = Composition->GetLayer(c.pressRow);
  EXPECT_EQ(layer.Visible, !c.visibleToggled);
  EXPECT_EQ(layer.UseDefaultFont, !c.defaultFontToggled);
  const TZeltoLayer& other = Composition->GetLayer(1 - c.pressRow);
  EXPECT_TRUE(other.Visible && other.UseDefaultFont);
  EXPECT_EQ(log.Entries, c.visibleToggled || c.defaultFontToggled ? Repaints{"canvas"} : Repaints{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelBoxTest,
    ::testing::Values(
        BoxCase{"Visibility", Cell::Visibility, 0, Cell::Visibility, 0, Qt::LeftButton, true, false},
        BoxCase{"DefaultFont", Cell::DefaultFont, 1, Cell::DefaultFont, 1, Qt::LeftButton, false, true},
        BoxCase{"RightButton", Cell::Visibility, 1, Cell::Visibility, 1, Qt::RightButton, true, false},
        BoxCase{"VisibilityReleasedOnDefaultFont", Cell::Visibility, 0, Cell::DefaultFont, 0, Qt::LeftButton,
                false, false},
        BoxCase{"DefaultFontReleasedOnText", Cell::DefaultFont, 0, Cell::Text, 0, Qt::LeftButton, false, false},
        BoxCase{"ReleasedOnTheNextRowsBox", Cell::Visibility, 0, Cell::Visibility, 1, Qt::LeftButton, false,
                false},
        BoxCase{"TextPressedReleasedOnBox", Cell::Text, 0, Cell::Visibility, 0, Qt::LeftButton, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, APressBelowTheRowsClearsThePressAndToggleNothing) {
  MakeLayers({"P"});
  QWidget* viewport = form->LBox->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, CellPoint(0, Cell::Visibility));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, CellPoint(0, Cell::Text));
  EXPECT_EQ(PressIndex, 0);
  // Below the last row, then released where row 0's box is: PressIndex is row 0, but no box
  // was pressed.
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(9, 100));
  EXPECT_EQ(PressKind, 0);
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, CellPoint(0, Cell::Visibility));
  EXPECT_TRUE(Composition->GetLayer(0).Visible);
}

TEST_F(PanelTest, ClickingABoxAlsoSelectsTheRow) {
  MakeLayers({"P", "Q"});
  QTest::mouseClick(form->LBox->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, Cell::DefaultFont));
  EXPECT_EQ(MarkedRows(), std::vector<int>{1});
  EXPECT_EQ(SelectionOrder(), std::vector<int>{1});
  EXPECT_FALSE(Composition->GetLayer(1).UseDefaultFont);
  EXPECT_EQ(form->MemText->toPlainText(), "Q");
}

// --- The selection hand-over ---

struct CarryCase {
  const char* name;
  int32_t pLineSpan, qLineSpan, rLineSpan;
  int32_t pCharSpan, qCharSpan, rCharSpan;
  int32_t rLineSpanAfter, rCharSpanAfter;
};

class PanelCarryTest : public PanelTest, public ::testing::WithParamInterface<CarryCase> {};

// P, Q and R selected in this order; Ctrl+click deselects P, so Q becomes the first selected
// layer and is loaded into the editors, whose change handlers store what changes into R too.
TEST_P(PanelCarryTest, DeselectingTheFirstLoadsTheNextIntoAllSelected) {
  const CarryCase& c = GetParam();
  MakeLayers({"P text", "Q text", "R text"});
  const int32_t lines[] = {c.pLineSpan, c.qLineSpan, c.rLineSpan};
  const int32_t chars[] = {c.pCharSpan, c.qCharSpan, c.rCharSpan};
  for (int32_t i = 0; i < 3; ++i) {
    Composition->GetLayer(i).LineSpan = lines[i];
    Composition->GetLayer(i).CharSpan = chars[i];
  }
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  ClickRow(2, Qt::ControlModifier);
  ASSERT_EQ(SelectionOrder(), (std::vector<int>{0, 1, 2}));
  ASSERT_EQ(form->MemText->toPlainText(), "P text");
  ASSERT_EQ(Composition->GetLayer(2).LineSpan, c.rLineSpan);  // adding to a selection loads nothing

  ClickRow(0, Qt::ControlModifier);
  EXPECT_EQ(SelectionOrder(), (std::vector<int>{1, 2}));
  EXPECT_EQ(MarkedRows(), (std::vector<int>{1, 2}));
  EXPECT_EQ(form->MemText->toPlainText(), "Q text");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P text", "Q text", "Q text"}));
  EXPECT_EQ(Composition->GetLayer(2).LineSpan, c.rLineSpanAfter);
  EXPECT_EQ(Composition->GetLayer(2).CharSpan, c.rCharSpanAfter);
  EXPECT_EQ(Composition->GetLayer(1).LineSpan, c.qLineSpan);
  EXPECT_EQ(Composition->GetLayer(0).LineSpan, c.pLineSpan);
  EXPECT_EQ(form->EditLineSpan->text().toInt(), c.qLineSpan);
  EXPECT_EQ(form->EditCharSpan->text().toInt(), c.qCharSpan);
}

INSTANTIATE_TEST_SUITE_P(Cases, PanelCarryTest,
                         ::testing::Values(CarryCase{"BothSpansDiffer", 1, 3, 5, 2, 4, 6, 3, 4},
                                           CarryCase{"LineSpanAsShown", 1, 1, 5, 2, -4, 6, 5, -4},
                                           CarryCase{"NeitherDiffers", 7, 7, 5, 8, 8, 6, 5, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, KeysChangeTheSelectionLikeClicks) {
  MakeLayers({"P", "Q", "R"});
  FocusList();
  ClickRow(0);
  QTest::keyClick(form->LBox, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(SelectionOrder(), (std::vector<int>{0, 1}));
  QTest::keyClick(form->LBox, Qt::Key_Down);
  EXPECT_EQ(MarkedRows(), std::vector<int>{2});
  EXPECT_EQ(SelectionOrder(), std::vector<int>{2});
  EXPECT_EQ(form->MemText->toPlainText(), "R");
  QTest::mouseClick(form->LBox->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(0, Cell::Text));
  EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(SelectionOrder(), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(form->MemText->toPlainText(), "R");

  QTest::keyClick(form->LBox, Qt::Key_End);
  EXPECT_EQ(MarkedRows(), std::vector<int>{2});
  // With Ctrl the current row moves alone, and Space marks it or takes its mark off.
  QTest::keyClick(form->LBox, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(MarkedRows(), std::vector<int>{2});
  QTest::keyClick(form->LBox, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(MarkedRows(), (std::vector<int>{1, 2}));
  EXPECT_EQ(SelectionOrder(), (std::vector<int>{2, 1}));
  QTest::keyClick(form->LBox, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(MarkedRows(), std::vector<int>{2});
  QTest::keyClick(form->LBox, Qt::Key_Home);
  EXPECT_EQ(MarkedRows(), std::vector<int>{0});
  QTest::keyClick(form->LBox, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(SelectionOrder(), (std::vector<int>{0, 1, 2}));
}

// --- How the rows look ---

struct RowLook {
  bool focused, selected;
};

QColor Back(RowLook look) {
  if (look.focused) return look.selected ? QColor(110, 136, 206) : QColor(240, 240, 240);
  return look.selected ? QColor(10, 36, 106) : QColor(255, 255, 255);
}

QColor Ink(RowLook look) { return look.selected ? QColor(255, 255, 255) : QColor(0, 0, 0); }

// Clicks on rows' text, with modifiers, then maybe the focus taken away from the list.
struct LookCase {
  const char* name;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> clicks;
  bool unfocus;
  std::vector<RowLook> rows;
};

class PanelLookTest : public PanelTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(PanelLookTest, RowColoursAndOneDottedOutline) {
  const LookCase& c = GetParam();
  MakeLayers({"AB", "CD", "EF"});
  FocusList();
  for (const auto& [row, modifiers] : c.clicks) ClickRow(row, modifiers);
  if (c.unfocus) form->MemText->setFocus();
  const QImage shown = GrabList();
  int outlined = 0;
  for (int row = 0; row < 3; ++row) {
    const TRect r = form->LBox->ItemRect(row);
    const QColor back = Back(c.rows[row]), ink = Ink(c.rows[row]);
    EXPECT_EQ(shown.pixelColor(r.Right - 4, r.Top + 9), back) << "row " << row;
    bool inked = false;
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
      for (int x = 39; x < 70; ++x) inked |= shown.pixelColor(x, y) == ink;
    EXPECT_TRUE(inked) << "row " << row << " shows no text in its colour";
    // The outline: along the top and bottom edges of the text area, every other pixel.
    int dots = 0, others = 0;
    for (int y : {r.Top, r.Bottom - 1})
      for (int x = 2 * 18; x < r.Right; ++x) {
        const QColor pixel = shown.pixelColor(x, y);
        if (pixel == ink) ++dots;
        else if (pixel != back) ++others;
      }
    EXPECT_EQ(others, 0) << "row " << row;
    if (c.rows[row].focused) {
      EXPECT_GE(dots, r.Right - 2 * 18 - 2) << "row " << row;
      EXPECT_LE(dots, r.Right - 2 * 18 + 2) << "row " << row;
      EXPECT_NE(shown.pixelColor(r.Left, r.Top + 9), shown.pixelColor(r.Left, r.Top + 10));
      ++outlined;
    } else {
      EXPECT_EQ(dots, 0) << "row " << row;
    }
  }
  const bool anyFocused = c.rows[0].focused || c.rows[1].focused || c.rows[2].focused;
  EXPECT_EQ(outlined, anyFocused ? 1 : 0);
}

constexpr Qt::KeyboardModifiers kPlain = Qt::NoModifier, kCtrl = Qt::ControlModifier;

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelLookTest,
    ::testing::Values(LookCase{"FocusedAndSelected",
                               {{1, kPlain}},
                               false,
                               {{false, false}, {true, true}, {false, false}}},
                      LookCase{"SelectedAndFocusedElsewhere",
                               {{0, kPlain}, {2, kCtrl}},
                               false,
                               {{false, true}, {false, false}, {true, true}}},
                      LookCase{"FocusedNotSelected",
                               {{0, kPlain}, {0, kCtrl}},
                               false,
                               {{true, false}, {false, false}, {false, false}}},
                      LookCase{"ListWithoutFocus",
                               {{1, kPlain}},
                               true,
                               {{false, false}, {false, true}, {false, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The pixels of a 14 x 14 box at (2, 2) of a row's cell: its frame, a corner inside it, and a
// pixel of the check mark.
struct BoxPixels {
  QColor frame, inside, mark;
};

BoxPixels BoxAt(const QImage& image, int left, int top) {
  return {image.pixelColor(left + 2, top + 2), image.pixelColor(left + 3, top + 3),
          image.pixelColor(left + 2 + 3 + 1, top + 2 + 3 + 3)};
}

TEST_F(PanelTest, BoxesShowTheFlagsAndTheirPressedLook) {
  MakeLayers({"P"});
  Composition->GetLayer(0).UseDefaultFont = false;
  Settle();
  const QColor grey(128, 128, 128), silver(192, 192, 192), white(255, 255, 255), black(0, 0, 0);
  struct Step {
    const char* name;
    std::function<void()> act;
    QColor visibleInside, visibleMark, fontInside, fontMark;
  };
  QWidget* viewport = form->LBox->viewport();
  const Step steps[] = {
      {"at rest", [] {}, white, black, white, white},
      {"visibility held", [&] { QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(0, Cell::Visibility)); },
       silver, grey, white, white},
      {"released elsewhere",
       [&] { QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(0, Cell::Text)); }, white, black,
       white, white},
      {"default font held",
       [&] { QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(0, Cell::DefaultFont)); }, white, black,
       silver, silver},
      {"default font toggled",
       [&] { QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(0, Cell::DefaultFont)); }, white,
       black, white, black},
  };
  for (const Step& step : steps) {
    step.act();
    const QImage shown = GrabList();
    const BoxPixels visibility = BoxAt(shown, 0, 0), font = BoxAt(shown, 18, 0);
    EXPECT_EQ(visibility.frame, grey) << step.name;
    EXPECT_EQ(font.frame, grey) << step.name;
    EXPECT_EQ(visibility.inside, step.visibleInside) << step.name;
    EXPECT_EQ(visibility.mark, step.visibleMark) << step.name;
    EXPECT_EQ(font.inside, step.fontInside) << step.name;
    EXPECT_EQ(font.mark, step.fontMark) << step.name;
  }
}

struct RowTextCase {
  const char* name;
  std::string text;
};

class PanelRowTextTest : public PanelTest, public ::testing::WithParamInterface<RowTextCase> {};

// The text starts 3 pixels into the text area, vertically centred by the height of "Wg" in
// the list's font, and is cut off at the row's edges: a long text shows as the whole text would.
TEST_P(PanelRowTextTest, StandsWhereTheRowSaysInTheListsFont) {
  const ScopedCodePage codePage("UTF-8");
  MakeLayers({GetParam().text.c_str()});
  Settle();
  const QImage shown = GrabList();
  QImage expected(shown.width(), 18, QImage::Format_RGB32);
  expected.fill(Qt::white);
  {
    QPainter painter(&expected);
    painter.setFont(form->LBox->font());
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(2 * 18 + 3, (18 - metrics.height()) / 2 + metrics.ascent(),
                     QString::fromStdString(GetParam().text));
  }
  int differing = 0, inked = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 2 * 18; x < shown.width(); ++x) {
      differing += shown.pixel(x, y) != expected.pixel(x, y);
      inked += expected.pixel(x, y) != qRgb(255, 255, 255);
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(differing, 0);
}

std::string Repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

INSTANTIATE_TEST_SUITE_P(Cases, PanelRowTextTest,
                         ::testing::Values(RowTextCase{"short", "Wg Ag"},
                                           // The narrowest glyphs, far more than the row holds.
                                           RowTextCase{"long", Repeated("il.|", 25000)},
                                           RowTextCase{"long of accented letters", Repeated("e\u0301i\u0308", 25000)}),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
