#include "toolkit/Application.h"

#include <QMessageBox>

namespace {
TErrorReport& Report() {
  static TErrorReport report;
  return report;
}
}  // namespace

void ShowException(const std::exception& error) {
  const QString message = QString::fromUtf8(error.what());
  if (Report()) {
    Report()(message);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

TErrorReport SetErrorReport(TErrorReport report) { return std::exchange(Report(), std::move(report)); }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
    return false;
  }
}
