#pragma once
// A user's files and folders in a test: a home folder of the test's own, what a folder holds, and
// the file dialogs worked as a user works them.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

inline QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

// Every file and folder below `folder`, hidden ones included, by their paths from it.
inline QStringList Tree(const QString& folder) {
  QStringList paths;
  QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) paths.append(QDir(folder).relativeFilePath(it.next()));
  paths.sort();
  return paths;
}

// --- Working the file dialogs as a user does ---

// Replaces the suggested name by typing `name` (a name, or a path) and presses Enter.
inline void TypeName(QFileDialog& dialog, const QString& name) {
  auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(field, nullptr);
  // The completer's list would show over the dialog while typing; the keys go to the field.
  field->setCompleter(nullptr);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, name);
  QTest::keyClick(field, Qt::Key_Return);
}

inline void PressEnter(QFileDialog& dialog) {
  QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
}

// The folder the dialog opens in, $HOME, is a temporary folder of the test's own, without the
// user's settings in it, so that all the program writes there can be seen.
class ScopedHome {
 public:
  ScopedHome() : home_(qgetenv("HOME")), config_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", folder_.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
  }
  ~ScopedHome() {
    qputenv("HOME", home_);
    if (!config_.isEmpty()) qputenv("XDG_CONFIG_HOME", config_);
  }
  QString Path() const { return folder_.path(); }

 private:
  QByteArray home_, config_;
  QTemporaryDir folder_;
};
