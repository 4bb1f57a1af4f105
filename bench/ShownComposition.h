#pragma once
// The main window on the screen with a composition of a given scale, for the benchmarks of the
// canvas's work.
#include "app/MainUnit.h"
#include "bench/Compositions.h"

#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdint>

// The main window, shown, with a composition of the given scale, all layers selected, and its
// paints counted to make sure each step reaches the screen.
class TShownComposition {
 public:
  TShownComposition(benchmark::State& state, int layers, int chars, int32_t side) {
    MainForm = new TMainForm;
    MainForm->show();
    if (!QTest::qWaitForWindowExposed(MainForm)) state.SkipWithError("the main window was not shown");
    delete Composition;
    Composition = MakeComposition(layers, chars, side, side).release();
    for (int32_t i = 0; i < layers; ++i) Composition->SetLayerSelected(i, true);
    MainForm->EditW->setText(QString::number(side));
    MainForm->EditH->setText(QString::number(side));
    const TPaintBox::TPaintEvent paint = MainForm->PBox->OnPaint;
    MainForm->PBox->OnPaint = [this, paint] {
      ++Paints;
      paint();
    };
  }
  ~TShownComposition() {
    delete MainForm;
    MainForm = nullptr;
  }

  int64_t Paints = 0;
};
