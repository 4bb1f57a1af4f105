// The program: the main window, then the layer panel beside it, until the main window closes.
#include "app/MainUnit.h"
#include "panel/LayerUnit.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  MainForm = new TMainForm;
  LayerForm = new TLayerForm;
  MainForm->show();
  const int result = application.exec();
  // The panel goes first; the main window's FormDestroy then frees the composition.
  delete LayerForm;
  LayerForm = nullptr;
  delete MainForm;
  MainForm = nullptr;
  return result;
}
