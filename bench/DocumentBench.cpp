// The document of 1,000 layers of 100 characters on the real windows: opening and showing it from
// its file, the list and the canvas painted; saving it over its file; and what keeping a recovery
// copy costs the windows' thread, which takes the composition and hands it to the copies' own
// thread to write.
#include "app/Document.h"
#include "app/MainUnit.h"
#include "bench/Compositions.h"
#include "model/Document.h"
#include "panel/LayerUnit.h"
#include "toolkit/WholeFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// The windows with the document open, its first layer selected, and their paints counted to make
// sure that what is measured reaches the screen.
class TDocumentWindows {
 public:
  static constexpr int kLayers = 1000;
  static constexpr int kChars = 100;

  explicit TDocumentWindows(benchmark::State& state) : path_(folder_.filePath(QStringLiteral("bench.zelto"))) {
    MainForm = new TMainForm;
    LayerForm = new TLayerForm;
    MainForm->show();
    if (!QTest::qWaitForWindowExposed(MainForm) || !QTest::qWaitForWindowExposed(LayerForm))
      state.SkipWithError("the windows were not shown");
    const auto source = MakeComposition(kLayers, kChars, 400, 400);
    const int32_t selection[] = {0};
    if (!WriteWholeFile(path_, WriteDocument(*source->History.Content(), selection)).isEmpty())
      state.SkipWithError("the document could not be written");
    const TPaintBox::TPaintEvent paint = MainForm->PBox->OnPaint;
    MainForm->PBox->OnPaint = [this, paint] {
      ++CanvasPaints;
      paint();
    };
    const TVirtualListBox::TDrawItemEvent draw = LayerForm->LBox->OnDrawItem;
    LayerForm->LBox->OnDrawItem = [this, draw](QPainter& canvas, int32_t index, const TRect& rect,
                                               TOwnerDrawState drawState) {
      ++RowsDrawn;
      draw(canvas, index, rect, drawState);
    };
    if (!Open() || Composition->LayerCount() != kLayers) state.SkipWithError("the document did not open");
    CanvasPaints = RowsDrawn = 0;
  }

  ~TDocumentWindows() {
    delete LayerForm;
    LayerForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
  }

  const QString& Path() const { return path_; }

  // Opens the document and lets the windows paint what they queued.
  bool Open() {
    const bool opened = MainForm->Document->Open(path_);
    QApplication::processEvents();
    return opened;
  }

  int64_t CanvasPaints = 0;
  int64_t RowsDrawn = 0;

 private:
  QTemporaryDir folder_;
  QString path_;
};

void BM_OpenDocument(benchmark::State& state) {
  TDocumentWindows windows(state);
  for (auto _ : state)
    if (!windows.Open()) state.SkipWithError("the document did not open");
  if (windows.CanvasPaints < state.iterations()) state.SkipWithError("not every opening painted the canvas");
  if (windows.RowsDrawn < state.iterations()) state.SkipWithError("not every opening drew the list's rows");
  state.counters["file_KiB"] = static_cast<double>(QFileInfo(windows.Path()).size()) / 1024;
}

void BM_SaveDocument(benchmark::State& state) {
  TDocumentWindows windows(state);
  const qint64 size = QFileInfo(windows.Path()).size();
  for (auto _ : state) MainForm->Document->Save();
  if (QFileInfo(windows.Path()).size() != size) state.SkipWithError("the saved document differs from the opened one");
}

void BM_KeepRecoveryCopy(benchmark::State& state) {
  TDocumentWindows windows(state);
  // A keystroke in the memo: the composition has a change, whose step took the content as it
  // stands, as when the recovery copy's timer runs out.
  LayerForm->MemText->moveCursor(QTextCursor::End);
  QTest::keyClick(LayerForm->MemText, Qt::Key_A);
  if (!MainForm->Document->Modified()) state.SkipWithError("the keystroke changed nothing");
  TRecovery& recovery = MainForm->Document->Recovery();
  for (auto _ : state) {
    // As TDocument::KeepRecoveryCopy does on the windows' thread.
    recovery.Keep(Composition->History.Content(), Composition->SelectionIndexes(), MainForm->Document->Path());
    state.PauseTiming();
    // The copy is written before the next is asked for, as the timer's seconds between copies
    // see to, so that the copies' thread does not run beside the one measured.
    recovery.Wait();
    state.ResumeTiming();
  }
  if (!recovery.HasCopy())
    state.SkipWithError("the recovery copy was not written");
}

BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeepRecoveryCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
