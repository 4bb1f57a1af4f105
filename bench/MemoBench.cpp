// One keystroke in the layer panel's text memo with every layer selected: the memo's text is
// stored in each selected layer, the layer list is redrawn and the canvas is re-rendered and
// copied onto the paint area, synchronously.
#include "app/MainUnit.h"
#include "bench/Compositions.h"
#include "panel/LayerUnit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void BM_MemoKeystroke(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int chars = static_cast<int>(state.range(1));
  const int32_t side = static_cast<int32_t>(state.range(2));
  MainForm = new TMainForm;
  LayerForm = new TLayerForm;
  MainForm->show();
  if (!QTest::qWaitForWindowExposed(MainForm) || !QTest::qWaitForWindowExposed(LayerForm))
    state.SkipWithError("the windows were not shown");
  // The window's composition is replaced by one of the given scale, every row selected; the
  // first layer's text is loaded into the memo and from there into all of them.
  delete Composition;
  Composition = MakeComposition(layers, chars, side, side).release();
  MainForm->EditW->setText(QString::number(side));
  MainForm->EditH->setText(QString::number(side));
  LayerForm->UpdateCount();
  for (int32_t i = 0; i < layers; ++i) LayerForm->LBox->SetSelected(i, true);
  LayerForm->SyncSelection();
  QTest::qWait(50);  // the list's first layout and paint

  int64_t canvasPaints = 0, rowsDrawn = 0;
  const TPaintBox::TPaintEvent paint = MainForm->PBox->OnPaint;
  MainForm->PBox->OnPaint = [&canvasPaints, paint] {
    ++canvasPaints;
    paint();
  };
  const TVirtualListBox::TDrawItemEvent draw = LayerForm->LBox->OnDrawItem;
  LayerForm->LBox->OnDrawItem = [&rowsDrawn, draw](QPainter& canvas, int32_t index, const TRect& rect,
                                                   TOwnerDrawState drawState) {
    ++rowsDrawn;
    draw(canvas, index, rect, drawState);
  };

  QPlainTextEdit* memo = LayerForm->MemText;
  memo->moveCursor(QTextCursor::End);
  bool type = true;
  for (auto _ : state) {
    // A letter, then taking it back, so the text stays at its length.
    QTest::keyClick(memo, type ? Qt::Key_A : Qt::Key_Backspace);
    type = !type;
  }
  if (canvasPaints != state.iterations()) state.SkipWithError("not every keystroke reached the canvas");
  // The list draws only the rows in view: all ten of the typical case.
  if (rowsDrawn < state.iterations() * std::min(layers, 10)) state.SkipWithError("not every keystroke redrew the rows");
  if (Composition->GetLayer(layers - 1).GetText() != Composition->GetLayer(0).GetText())
    state.SkipWithError("the selected layers do not hold the memo's text");
  delete LayerForm;
  LayerForm = nullptr;
  delete MainForm;
  MainForm = nullptr;
}

// The floor of the huge keystroke below: its text stored into each of 1,000 layers, as plain
// copies of 100,000 bytes, and nothing else.
void BM_StoreTextFloor(benchmark::State& state) {
  std::vector<std::string> layers(1000, std::string(100000, 'x'));
  std::string typed(100000, 'y');
  for (auto _ : state) {
    typed.back() = typed.back() == 'a' ? 'b' : 'a';
    for (std::string& text : layers) text.assign(typed);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StoreTextFloor)->Unit(benchmark::kMillisecond);

// Typical: 10 layers of 50 characters on 400 x 400.
BENCHMARK(BM_MemoKeystroke)->Args({10, 50, 400})->Unit(benchmark::kMillisecond);
// Huge: 1,000 layers of 100,000 characters on the canvas at start, 200 x 200. Storing the text in
// every layer is 100 MB of copying, the floor of this keystroke.
BENCHMARK(BM_MemoKeystroke)->Args({1000, 100000, 200})->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
