// The program. Started without options: the windows (app/Windows.h), given a document's path with
// that document open. With the command line's render and thumbnail options it makes pictures
// without windows (app/CommandLine.h).
#include "app/CommandLine.h"
#include "app/Windows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
// Whether the arguments ask for pictures, or for the help or the version, rather than windows.
bool WithoutWindows(const QStringList& arguments) {
  static const QStringList names = {QStringLiteral("--render"), QStringLiteral("--thumbnail"), QStringLiteral("-h"),
                                    QStringLiteral("-?"),       QStringLiteral("--help"),      QStringLiteral("--help-all"),
                                    QStringLiteral("-v"),       QStringLiteral("--version")};
  for (const QString& argument : arguments.mid(1)) {
    if (argument == QLatin1String("--")) break;
    if (names.contains(argument.section(QLatin1Char('='), 0, 0))) return true;
  }
  return false;
}

// Pictures need an application object for fonts, but no display: Qt's offscreen platform serves,
// unless the user chose a platform. The command line's messages are its own, a line each; Qt's
// notes (no runtime folder, say) would only get in their way, and only its errors are passed on.
int RunHeadless(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  });
  // Qt takes its own options first here too.
  QGuiApplication application(argc, argv);
  const std::optional<TCommandLine> line = ReadCommandLine(QCoreApplication::arguments());
  const int code = line ? RunCommandLine(*line) : 2;
  // Every picture is written and every message said: all that is left is to free what the system
  // takes back whole as the process ends, milliseconds of a start of some fifty. The sanitizers'
  // build ends the long way, for its leak check to see the program's memory.
#ifndef __SANITIZE_ADDRESS__
  std::fflush(nullptr);
  std::_Exit(code);
#endif
  return code;
}

// Loads the windows' module, beside the program or in its library folder, and starts the windows.
int RunWindows(int argc, char** argv) {
  const QDir programFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).dir();
  const QString name = QStringLiteral("ZeltoZelto-windows.so");
  QString module = programFolder.filePath(name);
  if (!QFileInfo::exists(module)) module = programFolder.filePath(QStringLiteral(ZELTO_WINDOWS_FOLDER "/") + name);
  void* windows = dlopen(QFile::encodeName(module).constData(), RTLD_NOW | RTLD_LOCAL);
  const auto start = windows ? reinterpret_cast<TWindowsEntry>(dlsym(windows, kWindowsEntry)) : nullptr;
  if (!start) {
    std::fprintf(stderr, "ZeltoZelto: the windows cannot be started: %s\n", dlerror());
    return 1;
  }
  // The module stays loaded to the end: its objects are destroyed as the program ends.
  return start(argc, argv);
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("ZeltoZelto"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZELTO_VERSION));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return WithoutWindows(arguments) ? RunHeadless(argc, argv) : RunWindows(argc, argv);
}
