#include "toolkit/Checked.h"
#include "toolkit/UpDown.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// An edit with a spinner attached, recording every text its change notification reports.
class UpDownTest : public ::testing::Test {
 protected:
  UpDownTest() {
    edit->setGeometry(10, 10, 50, 21);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& text) { seen.append(text); });
  }

  void Attach(int16_t min, int16_t max, int position, bool wrap = false) {
    ud->SetRange(min, max);
    ud->SetPosition(position);
    ud->Wrap = wrap;
    ud->SetAssociate(edit);
    seen.clear();
  }

  void Type(const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  QWidget parent;
  QLineEdit* edit = new QLineEdit(&parent);
  TUpDown* ud = new TUpDown(&parent);
  QStringList seen;
};

TEST_F(UpDownTest, AttachesAtTheEditsRightEdgeAndWritesThePosition) {
  Attach(1, 400, 200);
  EXPECT_EQ(edit->text(), "200");
  EXPECT_EQ(ud->parentWidget(), &parent);
  EXPECT_EQ(ud->geometry(), QRect(60, 10, TUpDown::kWidth, 21));
}

struct SetCase {
  int16_t min, max;
  int value;
  int16_t expected;
};

class UpDownSetTest : public UpDownTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(UpDownSetTest, KeepsThePositionWithinTheRange) {
  const SetCase c = GetParam();
  Attach(c.min, c.max, c.min);
  ud->SetPosition(c.value);
  EXPECT_EQ(ud->Position(), c.expected);
  EXPECT_EQ(edit->text(), QString::number(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, UpDownSetTest,
                         ::testing::Values(SetCase{1, 400, 250, 250}, SetCase{1, 400, 500, 400},
                                           SetCase{1, 400, -5, 1}, SetCase{-100, 100, -100, -100},
                                           SetCase{INT16_MIN, INT16_MAX, INT16_MIN, INT16_MIN},
                                           SetCase{INT16_MIN, INT16_MAX, INT16_MAX, INT16_MAX}));

TEST_F(UpDownTest, APositionBeyond16BitsIsARangeError) {
  Attach(INT16_MIN, INT16_MAX, 7);
  EXPECT_THROW(ud->SetPosition(INT16_MAX + 1), ERangeError);
  EXPECT_THROW(ud->SetPosition(INT16_MIN - 1), ERangeError);
  EXPECT_EQ(ud->Position(), 7);
  EXPECT_EQ(edit->text(), "7");
}

enum class Input { UpArrowButton, UpKey, DownArrowButton, DownKey };

struct StepCase {
  int16_t min, max;
  bool wrap;
  int start;
  Input input;
  int16_t expected;
};

class UpDownStepTest : public UpDownTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(UpDownStepTest, StepsByOneAndWrapsOnlyWhenAsked) {
  const StepCase c = GetParam();
  Attach(c.min, c.max, c.start, c.wrap);
  switch (c.input) {
    case Input::UpArrowButton: QTest::mouseClick(ud->UpButton(), Qt::LeftButton); break;
    case Input::DownArrowButton: QTest::mouseClick(ud->DownButton(), Qt::LeftButton); break;
    case Input::UpKey: QTest::keyClick(edit, Qt::Key_Up); break;
    case Input::DownKey: QTest::keyClick(edit, Qt::Key_Down); break;
  }
  EXPECT_EQ(ud->Position(), c.expected);
  EXPECT_EQ(edit->text(), QString::number(c.expected));
  // The edit hears of the step only when the position changed.
  EXPECT_EQ(seen, c.expected == c.start ? QStringList() : QStringList{QString::number(c.expected)});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpDownStepTest,
    ::testing::Values(StepCase{1, 400, false, 200, Input::UpArrowButton, 201},
                      StepCase{1, 400, false, 200, Input::DownKey, 199},
                      StepCase{1, 400, false, 400, Input::UpArrowButton, 400},
                      StepCase{1, 400, false, 400, Input::UpKey, 400},
                      StepCase{1, 400, false, 1, Input::DownArrowButton, 1},
                      StepCase{1, 100, true, 100, Input::UpArrowButton, 1},
                      StepCase{1, 100, true, 100, Input::UpKey, 1},
                      StepCase{1, 100, true, 1, Input::DownArrowButton, 100},
                      StepCase{1, 100, true, 1, Input::DownKey, 100},
                      StepCase{-100, 100, false, 0, Input::DownArrowButton, -1},
                      StepCase{-100, 100, false, -100, Input::DownKey, -100}));

TEST_F(UpDownTest, FreeTextStaysAndThePositionKeepsTheLastNumberWithinRange) {
  Attach(1, 400, 200);
  Type("999");
  EXPECT_EQ(edit->text(), "999");
  EXPECT_EQ(seen, (QStringList{"9", "99", "999"}));
  EXPECT_EQ(ud->Position(), 99);

  for (const QString text : {"", "0", "abc", "12x", "401"}) {
    edit->setText(text);
    EXPECT_EQ(ud->Position(), 99) << text.toStdString();
    EXPECT_EQ(edit->text(), text);
  }

  // The arrows step from the position, not from the text.
  QTest::mouseClick(ud->UpButton(), Qt::LeftButton);
  EXPECT_EQ(edit->text(), "100");
}

TEST_F(UpDownTest, ThePositionFollowsEveryNumberWithinRange) {
  Attach(-100, 100, 0);
  for (const auto& [text, position] : std::initializer_list<std::pair<QString, int16_t>>{
           {"15", 15}, {"150", 15}, {"-100", -100}, {"-101", -100}, {"+7", 7}, {"0", 0}}) {
    edit->setText(text);
    EXPECT_EQ(ud->Position(), position) << text.toStdString();
  }
}

TEST_F(UpDownTest, SettingThePositionNotifiesTheEditOnlyWhenItChanges) {
  Attach(1, 400, 200);
  ud->SetPosition(200);
  EXPECT_TRUE(seen.isEmpty());
  ud->SetPosition(5);
  EXPECT_EQ(seen, QStringList{"5"});
  // A free text in the edit does not count as a change of the position.
  edit->setText("999");
  seen.clear();
  ud->SetPosition(5);
  EXPECT_TRUE(seen.isEmpty());
  EXPECT_EQ(edit->text(), "999");
}

TEST_F(UpDownTest, RestoringPutsBackTextAndPositionQuietly) {
  Attach(-100, 100, 0);
  for (const auto& [text, position] : std::initializer_list<std::pair<QString, int16_t>>{
           {"150", 15}, {"-3", -3}, {"", 42}}) {
    ud->Restore(text, position);
    EXPECT_EQ(edit->text(), text);
    EXPECT_EQ(ud->Position(), position) << text.toStdString();
  }
  EXPECT_TRUE(seen.isEmpty());
  // The arrows go on from the restored position.
  ud->Restore("150", 15);
  QTest::mouseClick(ud->UpButton(), Qt::LeftButton);
  EXPECT_EQ(edit->text(), "16");
}

TEST_F(UpDownTest, AChangeHandlerThatRefillsItsEditRunsAgainNested) {
  Attach(1, 400, 123);
  QStringList handled;
  QObject::connect(edit, &QLineEdit::textChanged, edit, [this, &handled] {
    handled.append(edit->text());
    if (edit->text().isEmpty()) edit->setText(QString::number(ud->Position()));
    handled.append("end " + edit->text());
  });
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(handled, (QStringList{"", "123", "end 123", "end 123"}));
  EXPECT_EQ(ud->Position(), 123);
}

}  // namespace
