// Peak resident memory of a large composition (1,000 layers of 100 characters, painted once)
// above the same program without it. Run on its own, so that nothing else has used memory.
#include "bench/Compositions.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string key; status >> key;) {
    long value = 0;
    if (key == "VmHWM:" && status >> value) return value;
  }
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QImage screen(999, 999, QImage::Format_RGB32);
  {
    // The empty program: an empty composition painted once, so fonts and the screen exist.
    auto empty = MakeComposition(0, 0, 999, 999);
    TCanvas canvas(&screen);
    empty->Paint(canvas);
  }
  const long empty = PeakResidentKiB();
  auto zelto = MakeComposition(1000, 100, 999, 999);
  Composition = zelto.get();
  {
    TCanvas canvas(&screen);
    zelto->Paint(canvas);
  }
  const long full = PeakResidentKiB();
  std::printf("peak resident memory: empty %.1f MiB, with 1000 layers of 100 characters %.1f MiB, above empty %.1f MiB\n",
              empty / 1024.0, full / 1024.0, (full - empty) / 1024.0);
  return 0;
}
