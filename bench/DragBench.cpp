// One step of a drag on the main window: every selected layer moves, the composition paints
// all layers into its bitmap, and the bitmap is copied onto the paint area, synchronously.
#include "app/MainUnit.h"
#include "bench/Compositions.h"

#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void BM_DragStep(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int chars = static_cast<int>(state.range(1));
  const int32_t side = static_cast<int32_t>(state.range(2));
  MainForm = new TMainForm;
  MainForm->show();
  if (!QTest::qWaitForWindowExposed(MainForm)) state.SkipWithError("the main window was not shown");
  // The window's composition is replaced by one of the given scale, all layers selected.
  delete Composition;
  Composition = MakeComposition(layers, chars, side, side).release();
  for (int32_t i = 0; i < layers; ++i) Composition->SetLayerSelected(i, true);
  MainForm->EditW->setText(QString::number(side));
  MainForm->EditH->setText(QString::number(side));

  // Counts the paints, to make sure each step reaches the screen.
  int64_t paints = 0;
  const TPaintBox::TPaintEvent paint = MainForm->PBox->OnPaint;
  MainForm->PBox->OnPaint = [&paints, paint] {
    ++paints;
    paint();
  };

  MainForm->PBoxMouseDown(MainForm->PBox, TMouseButton::mbLeft, ssLeft, 100, 100);
  int32_t x = 100;
  for (auto _ : state) {
    x = x == 100 ? 101 : 100;  // back and forth, so the layers stay where they are
    MainForm->PBoxMouseMove(MainForm->PBox, ssLeft, x, 100);
  }
  if (paints != state.iterations()) state.SkipWithError("not every step was painted");
  delete MainForm;
  MainForm = nullptr;
}

// Typical: 10 layers of 50 characters on 400 x 400.
BENCHMARK(BM_DragStep)->Args({10, 50, 400})->Unit(benchmark::kMillisecond);

}  // namespace
