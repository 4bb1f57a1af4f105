#include "toolkit/Application.h"

#include <QMessageBox>
#include <QSettings>

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

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The program keeps no settings, but Qt's file dialog keeps its history, last folder and
  // layout in the user's (~/.config/QtProject.conf), even when cancelled. Qt's settings go to a
  // place where no file can be made, so that they are neither read nor written.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
    return false;
  }
}
