// One step of a drag on the main window: every selected layer moves, the composition paints
// all layers into its bitmap, and the bitmap is copied onto the paint area, synchronously.
#include "app/MainUnit.h"
#include "bench/ShownComposition.h"

#include <benchmark/benchmark.h>

namespace {

void BM_DragStep(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int chars = static_cast<int>(state.range(1));
  const int32_t side = static_cast<int32_t>(state.range(2));
  TShownComposition shown(state, layers, chars, side);
  MainForm->PBoxMouseDown(MainForm->PBox, TMouseButton::mbLeft, ssLeft, 100, 100);
  int32_t x = 100;
  for (auto _ : state) {
    x = x == 100 ? 101 : 100;  // back and forth, so the layers stay where they are
    MainForm->PBoxMouseMove(MainForm->PBox, ssLeft, x, 100);
  }
  if (shown.Paints != state.iterations()) state.SkipWithError("not every step was painted");
}

// Typical: 10 layers of 50 characters on 400 x 400.
BENCHMARK(BM_DragStep)->Args({10, 50, 400})->Unit(benchmark::kMillisecond);

}  // namespace
