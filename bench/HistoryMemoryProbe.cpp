// The memory of 1,000 steps of typing on the real windows holding 1,000 layers of 100 characters:
// each step a keystroke in the memo after selecting another layer. Reports the history's own
// count of its bytes and, to check it, how much the peak resident memory grew.
#include "bench/UndoWindows.h"

#include <QApplication>

#include <sys/resource.h>

#include <cstdio>

namespace {
// The most resident memory the process has taken so far, in KiB.
long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TUndoWindows windows;
  const int steps = 1000;
  // One step first, so that what every further step costs is measured.
  TUndoWindows::Type(Qt::Key_A);
  const long before = PeakResidentKiB();
  const std::size_t bytesBefore = Composition->History.Bytes();
  for (int n = 1; n <= steps; ++n) {
    TUndoWindows::Select(n % TUndoWindows::kLayers);
    TUndoWindows::Type(Qt::Key_A);
  }
  const long after = PeakResidentKiB();
  const std::size_t kept = Composition->History.UndoCount();
  std::printf("history of %d typing steps, %zu kept: its own count %.1f MiB, peak resident memory grew %.1f MiB\n",
              steps, kept, (Composition->History.Bytes() - bytesBefore) / 1048576.0, (after - before) / 1024.0);
  return windows.Shown && kept == steps + 1 ? 0 : 1;
}
