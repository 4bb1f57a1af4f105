// The program: the main window, then the layer panel beside it, until the main window closes.
// Given a document's path, it opens that document; it then offers a recovery copy that a program
// killed or crashed left behind.
#include "app/Document.h"
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "toolkit/Application.h"

#include <QCommandLineParser>
#include <QDirIterator>
#include <QIcon>

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
}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("ZeltoZelto"));
  application.setApplicationVersion(QStringLiteral(ZELTO_VERSION));
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Composes a picture out of text layers."));
  options.addHelpOption();
  options.addVersionOption();
  options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A document (.zelto) to open."),
                                QStringLiteral("[FILE.zelto]"));
  options.process(application);
  ShowAsDesktopProgram(application);
  MainForm = new TMainForm;
  LayerForm = new TLayerForm;
  MainForm->show();
  if (!options.positionalArguments().isEmpty())
    Guarded([&] { MainForm->Document->Open(options.positionalArguments().first()); });
  Guarded([] { MainForm->Document->OfferRecovery(); });
  const int result = application.exec();
  // The panel goes first; the main window's FormDestroy then frees the composition.
  delete LayerForm;
  LayerForm = nullptr;
  delete MainForm;
  MainForm = nullptr;
  return result;
}
