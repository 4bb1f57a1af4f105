#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Checked.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>

namespace {

class ErrorReportTest : public ::testing::Test {
 protected:
  ErrorReportTest() { previous_ = SetErrorReport([this](const QString& m) { reports.append(m); }); }
  ~ErrorReportTest() override { SetErrorReport(previous_); }

  QStringList reports;

 private:
  TErrorReport previous_;
};

struct ErrorCase {
  const char* name;
  std::function<void()> raise;
  QString part;  // what the report's text must contain
};

TEST_F(ErrorReportTest, AnErrorAbandonsTheHandlerAndIsReportedWithItsText) {
  const ErrorCase cases[] = {
      {"overflow", [] { CheckedAdd(INT32_MAX, 1); }, "Integer overflow"},
      {"range", [] { RangeToByte(256); }, "Range check error"},
      {"list index", [] { throw EListError(5); }, "(5)"},
      {"bitmap", [] { TBitmap().SetSize(40000, 1); }, "40000"},
  };
  for (const ErrorCase& c : cases) {
    reports.clear();
    QLineEdit edit;
    int finished = 0;
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guard([&] {
                       c.raise();
                       ++finished;
                     }));
    edit.setText("a");
    edit.setText("b");
    EXPECT_EQ(finished, 0) << c.name;
    ASSERT_EQ(reports.size(), 2) << c.name;
    EXPECT_TRUE(reports[0].contains(c.part)) << reports[0].toStdString();
  }
}

TEST_F(ErrorReportTest, ANestedRunReportsItsOwnErrorAndTheOuterRunGoesOn) {
  QLineEdit edit;
  QStringList steps;
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guard([&] {
                     const QString text = edit.text();
                     steps.append("begin " + text);
                     if (text == "outer") edit.setText("nested");
                     if (text == "nested") throw ERangeError();
                     steps.append("end " + text);
                   }));
  edit.setText("outer");
  EXPECT_EQ(steps, (QStringList{"begin outer", "begin nested", "end outer"}));
  EXPECT_EQ(reports, QStringList{"Range check error"});
}

TEST_F(ErrorReportTest, TheReportCanBeReplacedAndRestored) {
  QStringList other;
  const TErrorReport mine = SetErrorReport([&](const QString& m) { other.append(m); });
  Guarded([] { throw EIntOverflow(); });
  SetErrorReport(mine);
  Guarded([] { throw ERangeError(); });
  EXPECT_EQ(other, QStringList{"Integer overflow"});
  EXPECT_EQ(reports, QStringList{"Range check error"});
}

// An object whose handler fails on events of the first kind and counts those of the second; no
// guard of its own. (Events of the program's own kinds: Qt's handling of input events keeps
// guarded pointers in frames that an error passing through would skip, leaking their counts.)
const QEvent::Type kFailing = static_cast<QEvent::Type>(QEvent::User + 1);
const QEvent::Type kCounted = static_cast<QEvent::Type>(QEvent::User + 2);

class FailingHandler : public QObject {
 public:
  int handled = 0;

 protected:
  void customEvent(QEvent* event) override {
    if (event->type() == kFailing) CheckedAdd(INT32_MAX, 1);
    ++handled;
  }
};

// What a handler lets through reaches the application object's last-resort report, for events
// sent at once and for those that come through the event loop, and the program goes on.
TEST_F(ErrorReportTest, TheApplicationReportsWhatAHandlerLetsThroughAndGoesOn) {
  ASSERT_NE(dynamic_cast<TApplication*>(QApplication::instance()), nullptr);
  FailingHandler handler;
  QEvent failing(kFailing), counted(kCounted);
  QApplication::sendEvent(&handler, &failing);
  QApplication::sendEvent(&handler, &counted);
  EXPECT_EQ(handler.handled, 1);
  EXPECT_EQ(reports, QStringList{"Integer overflow"});

  QApplication::postEvent(&handler, new QEvent(kFailing));
  QApplication::postEvent(&handler, new QEvent(kCounted));
  QApplication::processEvents();
  EXPECT_EQ(handler.handled, 2);
  EXPECT_EQ(reports, (QStringList{"Integer overflow", "Integer overflow"}));
}

}  // namespace
