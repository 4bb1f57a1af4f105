#include "app/Windows.h"

#include "app/CommandLine.h"
#include "app/Document.h"
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "toolkit/Application.h"

#include <QDirIterator>
#include <QIcon>

#include <optional>

namespace {
// Ties the windows to the program's desktop entry, and gives every window the program's icon
// from the sizes built into the module.
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
}  // namespace

// Qt takes its own options (-platform, -style, -reverse, ...) out of the arguments as it makes
// the application object, and the program reads its own from what is left. Without a window
// system to reach, no such object can be made: the arguments are read before then, so that a
// wrong one is refused with a message rather than by Qt's end for want of a display.
extern "C" Q_DECL_EXPORT int ZeltoZeltoWindows(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  if (!WindowSystemNamed(arguments) && !ReadCommandLine(arguments)) return 2;
  TApplication application(argc, argv);
  const std::optional<TCommandLine> line = ReadCommandLine(QCoreApplication::arguments());
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
