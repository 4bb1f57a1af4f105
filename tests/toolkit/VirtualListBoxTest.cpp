// The virtual list box on its own: rows without items, their marks as rows come and go, which
// changes count as the user's, and the order of its events.
#include "toolkit/VirtualListBox.h"
#include "toolkit/Application.h"
#include "toolkit/Checked.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class VirtualListBoxTest : public ::testing::Test {
 protected:
  VirtualListBoxTest() : list(18) {
    list.resize(120, 100);
    list.OnDrawItem = [this](QPainter&, int32_t index, const TRect& rect, TOwnerDrawState state) {
      drawn.push_back({index, rect, state});
    };
    list.OnClick = [this] { events.push_back("click"); };
    list.OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int32_t x, int32_t y) {
      events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    list.OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int32_t x, int32_t y) {
      events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    list.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
  }

  std::vector<int> Marked() const {
    std::vector<int> rows;
    for (int32_t i = 0; i < list.Count(); ++i)
      if (list.Selected(i)) rows.push_back(i);
    return rows;
  }

  void Mark(std::initializer_list<int> rows) {
    for (int row : rows) list.SetSelected(row, true);
  }

  QPoint RowPoint(int row) const { return QPoint(50, row * 18 + 9); }

  struct Drawn {
    int32_t index;
    TRect rect;
    TOwnerDrawState state;
  };

  TVirtualListBox list;
  std::vector<Drawn> drawn;
  std::vector<std::string> events;
};

TEST_F(VirtualListBoxTest, ANewCountClearsTheMarksTheSameCountKeepsThem) {
  struct Case {
    int32_t count;
    std::vector<int> marked;
  };
  list.SetCount(4);
  Mark({1, 3});
  list.SetItemIndex(3);
  const Case steps[] = {{4, {1, 3}}, {5, {}}, {5, {1}}, {2, {}}};
  bool first = true;
  for (const Case& step : steps) {
    list.SetCount(step.count);
    EXPECT_EQ(list.Count(), step.count);
    EXPECT_EQ(Marked(), step.marked) << step.count;
    EXPECT_EQ(list.ItemIndex(), first ? 3 : -1) << step.count;
    first = false;
    Mark({1});
  }
  EXPECT_TRUE(events.empty());
}

TEST_F(VirtualListBoxTest, DeletingARowMovesTheMarksBelowItUp) {
  struct Case {
    int32_t row;
    std::vector<int> marked;
  };
  list.SetCount(6);
  Mark({0, 2, 3, 5});
  const Case steps[] = {{1, {0, 1, 2, 4}}, {4, {0, 1, 2}}, {0, {0, 1}}, {2, {0, 1}}};
  int32_t count = 6;
  for (const Case& step : steps) {
    list.DeleteRow(step.row);
    EXPECT_EQ(list.Count(), --count);
    EXPECT_EQ(Marked(), step.marked) << "after row " << step.row;
  }
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_TRUE(events.empty());
}

TEST_F(VirtualListBoxTest, RowsOutsideTheCountRaiseListErrors) {
  list.SetCount(2);
  for (int32_t index : {-1, 2}) {
    EXPECT_THROW(list.Selected(index), EListError) << index;
    EXPECT_THROW(list.SetSelected(index, true), EListError) << index;
    EXPECT_THROW(list.DeleteRow(index), EListError) << index;
    EXPECT_EQ(list.ItemRect(index), TRect{}) << index;
  }
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(VirtualListBoxTest, RowsHaveTheFixedHeightAndTheViewportsWidth) {
  list.SetCount(3);
  for (int32_t row = 0; row < 3; ++row) {
    EXPECT_EQ(list.ItemRect(row), (TRect{0, 18 * row, list.viewport()->width(), 18 * row + 18})) << row;
    EXPECT_EQ(list.ItemAtPos(QPoint(0, 18 * row)), row);
    EXPECT_EQ(list.ItemAtPos(QPoint(list.viewport()->width() - 1, 18 * row + 17)), row);
  }
  EXPECT_EQ(list.ItemAtPos(QPoint(5, 54)), -1);
}

// A repaint right after a change of rows draws the new rows, not what the list had laid out.
TEST_F(VirtualListBoxTest, RepaintDrawsEveryShownRowAtOnce) {
  list.SetCount(3);
  Mark({1});
  drawn.clear();
  list.Repaint();
  ASSERT_EQ(drawn.size(), 3u);
  for (int32_t row = 0; row < 3; ++row) {
    EXPECT_EQ(drawn[row].index, row);
    EXPECT_EQ(drawn[row].rect, list.ItemRect(row));
    EXPECT_EQ(drawn[row].state, row == 1 ? odSelected : 0);
  }
}

TEST_F(VirtualListBoxTest, TheFocusedRowIsTheCurrentOneWhileTheListHasTheFocus) {
  list.SetCount(3);
  list.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
  list.setFocus();
  list.SetItemIndex(2);
  Mark({2, 0});
  drawn.clear();
  list.Repaint();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].state, odSelected);
  EXPECT_EQ(drawn[1].state, 0);
  EXPECT_EQ(drawn[2].state, odSelected | odFocused);
}

TEST_F(VirtualListBoxTest, OnlyTheUsersChangesAreReported) {
  list.SetCount(4);
  QWidget* viewport = list.viewport();
  struct Step {
    const char* name;
    std::function<void()> act;
    std::vector<int> marked;
    int clicks;
  };
  const Step steps[] = {
      {"program marks", [&] { Mark({1}); }, {1}, 0},
      {"click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, RowPoint(2)); }, {2}, 1},
      {"ctrl+click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, RowPoint(0)); }, {0, 2}, 1},
      {"ctrl+click again", [&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, RowPoint(0)); },
       {2}, 1},
      // From the row last clicked, Ctrl or not.
      {"shift+click", [&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, RowPoint(3)); },
       {0, 1, 2, 3}, 1},
      {"up key", [&] { QTest::keyClick(&list, Qt::Key_Up); }, {2}, 1},
      {"program unmarks", [&] { list.SetSelected(2, false); }, {}, 0},
      {"program deletes", [&] {
         Mark({3});
         list.DeleteRow(3);
       }, {}, 0},
      {"click below the rows", [&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, 90)); }, {}, 0},
  };
  for (const Step& step : steps) {
    events.clear();
    step.act();
    EXPECT_EQ(Marked(), step.marked) << step.name;
    EXPECT_EQ(std::count(events.begin(), events.end(), "click"), step.clicks) << step.name;
  }
}

// The list's own handling of a button runs first: a press that changes the marks reports the
// change before OnMouseDown. A double click's second press is a press too. Only the left
// button changes the marks.
TEST_F(VirtualListBoxTest, MouseEventsFollowTheListsOwnHandling) {
  list.SetCount(2);
  QWidget* viewport = list.viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(7, 20));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(30, 70));
  EXPECT_EQ(events, (std::vector<std::string>{"click", "down 7,20", "up 30,70"}));
  events.clear();
  const QPoint at(3, 3);
  QTest::mousePress(viewport, Qt::RightButton, {}, at);
  QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
  QMouseEvent second(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                     Qt::NoModifier);
  QApplication::sendEvent(viewport, &second);
  QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
  EXPECT_EQ(events, (std::vector<std::string>{"down 3,3", "up 3,3", "down 3,3", "up 3,3"}));
  EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1) << "row 1 stays the one marked";
  EXPECT_TRUE(list.selectionModel()->isRowSelected(1));
}

TEST_F(VirtualListBoxTest, AnErrorInAHandlerGoesToTheErrorReport) {
  QStringList reports;
  const TErrorReport previous = SetErrorReport([&reports](const QString& message) { reports.append(message); });
  list.SetCount(1);
  list.OnDrawItem = [](QPainter&, int32_t index, const TRect&, TOwnerDrawState) { throw EListError(index + 7); };
  list.OnMouseDown = [](Qt::MouseButton, Qt::KeyboardModifiers, int32_t, int32_t) { throw EIntOverflow(); };
  list.Repaint();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(0));
  SetErrorReport(previous);
  ASSERT_EQ(reports.size(), 2);
  EXPECT_TRUE(reports[0].contains(QLatin1String("7"))) << reports[0].toStdString();
  EXPECT_EQ(reports[1], "Integer overflow");
  EXPECT_EQ(Marked(), std::vector<int>{0});  // the list went on
}

}  // namespace
