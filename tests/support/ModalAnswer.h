#pragma once
// Answering modal dialogs from a test: the dialog runs its own event loop, so the answer comes
// from a timer of that loop.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// Closes whatever modal dialog is still open after a while, failing the test: a fault ends in
// a failure instead of a hang.
class ModalFailSafe {
 public:
  ModalFailSafe() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      while (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "a dialog was left open: " << modal->windowTitle().toStdString();
        modal->close();
      }
    });
    timer_.start(20000);
  }

 private:
  QTimer timer_;
};

// Runs `operate` on the modal dialog of type Form as soon as one is open and painted, as the
// user first sees it, for as long as this object lives; the program's own work between this
// answer's making and the dialog's opening does not matter. `operate` closes the dialog: one
// that it leaves open (after a failed assertion, say) fails the test and is cancelled.
template <class Form>
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(Form&)> operate) {
    QObject::connect(&poll_, &QTimer::timeout, [this, operate] {
      auto* form = dynamic_cast<Form*>(QApplication::activeModalWidget());
      // A dialog just answered may still head the modal stack, hidden, until its loop ends.
      if (!form || !form->isVisible()) return;
      poll_.stop();
      Opened = true;
      EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
      QApplication::processEvents();
      operate(*form);
      if (form->isVisible()) {
        ADD_FAILURE() << "the answer left " << form->windowTitle().toStdString() << " open";
        form->reject();
      }
    });
    poll_.start(0);
  }

  bool Opened = false;

 private:
  QTimer poll_;
  ModalFailSafe failSafe_;
};
