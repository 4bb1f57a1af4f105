#pragma once
// The real windows holding 1,000 layers of 100 characters, the first selected and loaded into the
// editors, for measuring undo and redo. Neither the canvas nor the list rows are painted: their
// painting is measured by the paint benchmarks, and here it would hide the history's own work.
#include "app/MainUnit.h"
#include "bench/Compositions.h"
#include "panel/LayerUnit.h"

#include <QPlainTextEdit>
#include <QTest>

class TUndoWindows {
 public:
  static constexpr int kLayers = 1000;
  static constexpr int kChars = 100;

  TUndoWindows() {
    MainForm = new TMainForm;
    LayerForm = new TLayerForm;
    MainForm->show();
    Shown = QTest::qWaitForWindowExposed(MainForm) && QTest::qWaitForWindowExposed(LayerForm);
    MainForm->PBox->OnPaint = [] {};
    LayerForm->LBox->OnDrawItem = [](QPainter&, int32_t, const TRect&, TOwnerDrawState) {};
    const auto source = MakeComposition(kLayers, kChars, 400, 400);
    for (int32_t i = 0; i < kLayers; ++i) Composition->GetLayer(Composition->AddLayer("")).Assign(source->GetLayer(i));
    LayerForm->UpdateCount();
    Select(0);
  }

  ~TUndoWindows() {
    delete LayerForm;
    LayerForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
  }

  // Row `row` alone becomes selected, as a click on it selects it.
  static void Select(int32_t row) {
    for (int32_t i = 0; i < LayerForm->LBox->Count(); ++i) LayerForm->LBox->SetSelected(i, i == row);
    LayerForm->LBoxClick(LayerForm->LBox);
  }

  // One keystroke at the end of the memo.
  static void Type(Qt::Key key) {
    LayerForm->MemText->moveCursor(QTextCursor::End);
    QTest::keyClick(LayerForm->MemText, key);
  }

  bool Shown = false;
};
