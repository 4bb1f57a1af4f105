#include "panel/LayerUnit.h"

#include "app/MainUnit.h"
#include "toolkit/Application.h"
#include "toolkit/UiFont.h"
#include "toolkit/WindowBounds.h"

TLayerForm* LayerForm = nullptr;

TLayerForm::TLayerForm() {
  setWindowFlags(Qt::Tool);
  setWindowTitle(QStringLiteral("LayerForm"));
  setFont(UiFont().ToQFont());
  SetOuterBounds(this, QRect(0, 0, 150, 474));
  Guarded([this] { FormCreate(this); });
  show();
}

void TLayerForm::FormCreate(QObject*) {
  // Immediately to the left of the main window, tops level; nothing keeps it on the screen.
  move(MainForm->x() - frameGeometry().width(), MainForm->y());
}
