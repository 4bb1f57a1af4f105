#include "toolkit/UndoKeys.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TEST(UndoKeysTest, EveryControlOfTheWindowGivesTheKeysToTheProgram) {
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* memo = new QPlainTextEdit(&window);
  memo->move(0, 40);
  QStringList ran;
  MakeUndoKeys(&window, [&ran] { ran.append("undo"); }, [&ran] { ran.append("redo"); });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* ran;  // nothing: the key is the control's
  };
  const Case cases[] = {{Qt::Key_Z, Qt::ControlModifier, "undo"},
                        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "redo"},
                        {Qt::Key_Y, Qt::ControlModifier, "redo"},
                        {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, nullptr},
                        {Qt::Key_Z, Qt::NoModifier, nullptr}};
  for (QWidget* control : std::initializer_list<QWidget*>{edit, memo, &window}) {
    for (const Case& c : cases) {
      ran.clear();
      control->setFocus();
      QTest::keyClick(control, c.key, c.modifiers);
      EXPECT_EQ(ran, c.ran ? QStringList{c.ran} : QStringList())
          << control->metaObject()->className() << " " << QTest::toString(c.key) << " " << c.modifiers;
    }
  }
}

// The text fields' own undo does not run: there is one history, the program's.
TEST(UndoKeysTest, TextFieldsDoNotUndoTheirOwnTyping) {
  QWidget window, other;
  auto* edit = new QLineEdit(&window);
  auto* memo = new QPlainTextEdit(&window);
  auto* outside = new QLineEdit(&other);
  int undone = 0;
  MakeUndoKeys(&window, [&undone] { ++undone; }, [] {});
  QTest::keyClicks(edit, "ab");
  QTest::keyClicks(memo, "ab");
  QTest::keyClicks(outside, "ab");
  for (QWidget* control : std::initializer_list<QWidget*>{edit, memo, outside})
    QTest::keyClick(control, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "ab");
  EXPECT_EQ(memo->toPlainText(), "ab");
  EXPECT_EQ(undone, 2);
  // Another window's field keeps its own.
  EXPECT_EQ(outside->text(), "");
}

}  // namespace
