// The canvas keys and the zoom on the main window: one press of an arrow key that nudges the
// selected layers, painting included, and a repaint of a large canvas at a zoom, scrolled into
// its middle, synchronously.
#include "app/MainUnit.h"
#include "bench/ShownComposition.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void BM_NudgeStep(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  TShownComposition shown(state, layers, static_cast<int>(state.range(1)), static_cast<int32_t>(state.range(2)));
  MainForm->PBox->setFocus();
  bool left = true;
  for (auto _ : state) {
    // Back and forth, so the layers stay where they are.
    QKeyEvent press(QEvent::KeyPress, left ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(MainForm->PBox, &press);
    left = !left;
  }
  if (shown.Paints != state.iterations()) state.SkipWithError("not every step was painted");
}

// Typical: 10 layers of 50 characters on 400 x 400, as the drag step.
BENCHMARK(BM_NudgeStep)->Args({10, 50, 400})->Unit(benchmark::kMillisecond);

void BM_RepaintAtZoom(benchmark::State& state) {
  TShownComposition shown(state, 10, 50, 999);
  MainForm->SetZoom({static_cast<int32_t>(state.range(0)), 1}, MainForm->ViewCentre());
  QScrollBar* horizontal = MainForm->ScrollBox1->horizontalScrollBar();
  QScrollBar* vertical = MainForm->ScrollBox1->verticalScrollBar();
  horizontal->setValue(horizontal->maximum() / 2);
  vertical->setValue(vertical->maximum() / 2);
  shown.Paints = 0;
  for (auto _ : state) RepaintCanvas();
  if (shown.Paints != state.iterations()) state.SkipWithError("not every repaint was painted");
}

// A 999 x 999 canvas of 10 layers of 50 characters, at 400% and, to compare, at 100%.
BENCHMARK(BM_RepaintAtZoom)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
