#pragma once
// The layer panel: the tool window beside the main window.
#include <QWidget>

class TLayerForm : public QWidget {
 public:
  // Builds the panel, shown at once, and runs FormCreate.
  TLayerForm();

  void FormCreate(QObject* Sender);
};

// The layer panel; the program creates it after the main window and frees it first.
extern TLayerForm* LayerForm;
