// Undo and redo with 1,000 layers of 100 characters on the real windows: recording the step of a
// keystroke in the memo, and one undo or redo with the editors and the list put back. Painting is
// left out (bench/UndoWindows.h).
#include "bench/UndoWindows.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_RecordKeystrokeStep(benchmark::State& state) {
  TUndoWindows windows;
  if (!windows.Shown) state.SkipWithError("the windows were not shown");
  TZeltoLayer& layer = Composition->SelectedLayer(0);
  const std::string text = layer.GetText();
  TZeltoHistory& history = Composition->History;
  int n = 0;
  for (auto _ : state) {
    // What MemTextChange records around its work; each keystroke a new step, the dearer way,
    // as the first after a new selection.
    history.BreakMerge();
    const TZeltoAction action(history, TStepKind::Text);
    layer.SetText(text + static_cast<char>('a' + n++ % 26));
  }
  if (history.UndoCount() == 0) state.SkipWithError("no step was recorded");
  state.counters["history_MiB"] = static_cast<double>(history.Bytes()) / (1 << 20);
}

void BM_UndoRedo(benchmark::State& state) {
  TUndoWindows windows;
  if (!windows.Shown) state.SkipWithError("the windows were not shown");
  // Typing in one layer, then in another: the last step changes the memo and a layer's text.
  TUndoWindows::Type(Qt::Key_A);
  TUndoWindows::Select(1);
  TUndoWindows::Type(Qt::Key_B);
  TZeltoHistory& history = Composition->History;
  const std::string typed = Composition->GetLayer(1).GetText();
  bool undo = true;
  for (auto _ : state) {
    if (!(undo ? history.Undo() : history.Redo())) state.SkipWithError("nothing to undo or redo");
    undo = !undo;
  }
  if (undo && Composition->GetLayer(1).GetText() != typed) state.SkipWithError("redo did not put the text back");
}

BENCHMARK(BM_RecordKeystrokeStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedo)->Unit(benchmark::kMicrosecond);

}  // namespace
