// The memory of 1,000 steps of typing on the real windows holding 1,000 layers of 100 characters:
// each step a keystroke in the memo after selecting another layer. Reports the history's own
// count of its bytes and, to check it, how much the resident memory grew.
#include "bench/UndoWindows.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string key; status >> key;) {
    long value = 0;
    if (key == "VmRSS:" && status >> value) return value;
  }
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TUndoWindows windows;
  const int steps = 1000;
  // One step first, so that what every further step costs is measured.
  TUndoWindows::Type(Qt::Key_A);
  const long before = ResidentKiB();
  const std::size_t bytesBefore = Composition->History.Bytes();
  for (int n = 1; n <= steps; ++n) {
    TUndoWindows::Select(n % TUndoWindows::kLayers);
    TUndoWindows::Type(Qt::Key_A);
  }
  const long after = ResidentKiB();
  const std::size_t steps_kept = Composition->History.UndoCount();
  std::printf("history of %d typing steps, %zu kept: its own count %.1f MiB, resident memory grew %.1f MiB\n", steps,
              steps_kept, (Composition->History.Bytes() - bytesBefore) / 1048576.0, (after - before) / 1024.0);
  return windows.Shown && steps_kept == steps + 1 ? 0 : 1;
}
