#pragma once
// The application object and its default error report.
//
// An error that leaves an event handler abandons that handler and is shown in a message box
// with its text; the program goes on. Qt does not let an exception cross its own frames, so
// every place where Qt calls into the program catches at that boundary: the controls of
// toolkit/ run their handlers through Guarded, and the windows connect Qt's signals to their
// handlers through Guard. TApplication::notify catches what an event override lets through.
//
// A handler run that another handler causes synchronously (a change handler that replaces its
// own edit's text runs again, nested) is a run of its own: its error is reported by its own
// guard, and the run that caused it goes on after the call that caused it.
#include <QApplication>
#include <QString>

#include <exception>
#include <functional>
#include <utility>

// Receives the text of each error report.
using TErrorReport = std::function<void(const QString& message)>;

// Shows the error's text (what(), UTF-8) in a message box, or hands it to the report set by
// SetErrorReport.
void ShowException(const std::exception& error);

// Replaces the message box by `report` (an empty one restores the box); returns the previous.
TErrorReport SetErrorReport(TErrorReport report);

// Runs `handler`; an error leaving it is reported.
template <class F>
void Guarded(F&& handler) noexcept {
  try {
    std::forward<F>(handler)();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

// `handler` (taking no arguments) as a slot for QObject::connect that reports its errors.
template <class F>
auto Guard(F handler) {
  return [handler = std::move(handler)]() noexcept { Guarded(handler); };
}

// Connects `signal` of `sender` to `handler` of `form`, which gets the sender as the windows'
// handlers do; its errors are reported.
template <class Sender, class Signal, class Form>
void ConnectHandler(Sender* sender, Signal signal, Form* form, void (Form::*handler)(QObject*)) {
  QObject::connect(sender, signal, form, Guard([sender, form, handler] { (form->*handler)(sender); }));
}

// The same for a handler of a notification that no control sends.
template <class Sender, class Signal, class Form>
void ConnectHandler(Sender* sender, Signal signal, Form* form, void (Form::*handler)()) {
  QObject::connect(sender, signal, form, Guard([form, handler] { (form->*handler)(); }));
}

// The program's application object: the last resort of the error report, and no settings kept.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};
