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

int RunWindows(int argc, char** argv, const QString& document) {
  TApplication application(argc, argv);
  ShowAsDesktopProgram(application);
  MainForm = new TMainForm;
  LayerForm = new TLayerForm;
  MainForm->show();
  if (!document.isEmpty()) Guarded([&] { MainForm->Document->Open(document); });
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
int RunHeadless(int argc, char** argv, const TCommandLine& line) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  });
  QGuiApplication application(argc, argv);
  return RunCommandLine(line);
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("ZeltoZelto"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZELTO_VERSION));
  // The options come first: they decide whether windows are made at all.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  TCommandLine line;
  try {
    line = ParseCommandLine(arguments);
  } catch (const EUsage& error) {
    std::fprintf(stderr, "ZeltoZelto: %s\nTry 'ZeltoZelto --help' for the options.\n", error.what());
    return 2;
  }
  if (line.Mode == TCommandLine::TMode::Windows) return RunWindows(argc, argv, line.Document);
  return RunHeadless(argc, argv, line);
}
