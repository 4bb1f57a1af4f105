// The program. Started without options: the main window, then the layer panel beside it, until
// the main window closes; given a document's path, it opens that document, and it offers a
// recovery copy that a program killed or crashed left behind. With the command line's render
// and thumbnail options it makes pictures without windows (app/CommandLine.h).
#include "app/CommandLine.h"
#include "app/Document.h"
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "toolkit/Application.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QIcon>

#include <cstdio>
#include <optional>

namespace {
// Ties the windows to the program's desktop entry, and gives every window the program's icon
// from the sizes built into the program.
void ShowAsDesktopProgram(TApplication& application) {
  application.setDesktopFileName(QStringLiteral(ZELTO_APP_ID));
  QIcon icon;
  QDirIterator sizes(QStringLiteral(":/hicolor"), {QStringLiteral("*.png")}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (sizes.hasNext()) icon.addFile(sizes.next());
  application.setWindowIcon(icon);
}

// Whether a window system is named, or may be reached, for the windows' application object.
bool WindowSystemNamed(const QStringList& arguments) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (!qEnvironmentVariableIsEmpty(name)) return true;
  return arguments.contains(QLatin1String("-platform")) || arguments.contains(QLatin1String("--platform"));
}

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

// The command line that `arguments` give; a usage error is said, and gives none.
std::optional<TCommandLine> Read(const QStringList& arguments) {
  try {
    return ParseCommandLine(arguments);
  } catch (const EUsage& error) {
    std::fprintf(stderr, "ZeltoZelto: %s\nTry 'ZeltoZelto --help' for the options.\n", error.what());
    return std::nullopt;
  }
}

// Qt takes its own options (-platform, -style, -reverse, ...) out of the arguments as it makes
// the application object, and the program reads its own from what is left. Without a window
// system to reach, no such object can be made: the arguments are read before then, so that a
// wrong one is refused with a message rather than by Qt's end for want of a display.
int RunWindows(int argc, char** argv, const QStringList& arguments) {
  if (!WindowSystemNamed(arguments) && !Read(arguments)) return 2;
  TApplication application(argc, argv);
  const std::optional<TCommandLine> line = Read(QCoreApplication::arguments());
  if (!line) return 2;
  ShowAsDesktopProgram(application);
  MainForm = new TMainForm;
  LayerForm = new TLayerForm;
  MainForm->show();
  if (!line->Document.isEmpty()) Guarded([&] { MainForm->Document->Open(line->Document); });
  Guarded([] { MainForm->Document->OfferRecovery(); });
  const int result = application.exec();
  // The panel goes first; the main window's FormDestroy then frees the composition.
  delete LayerForm;
  LayerForm = nullptr;
  delete MainForm;
  MainForm = nullptr;
  return result;
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
  const std::optional<TCommandLine> line = Read(QCoreApplication::arguments());
  return line ? RunCommandLine(*line) : 2;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("ZeltoZelto"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZELTO_VERSION));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return WithoutWindows(arguments) ? RunHeadless(argc, argv) : RunWindows(argc, argv, arguments);
}
