// Paint of a whole composition: the white fill, every character measured and drawn by itself,
// and the block copy onto a screen-like 32-bit target.
#include "bench/Compositions.h"
#include "bench/PerChar.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

void BM_Paint(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int chars = static_cast<int>(state.range(1));
  const int32_t side = static_cast<int32_t>(state.range(2));
  auto zelto = MakeComposition(layers, chars, side, side);
  Composition = zelto.get();
  QImage screen(side, side, QImage::Format_RGB32);
  for (auto _ : state) {
    TCanvas canvas(&screen);
    zelto->Paint(canvas);
  }
  state.counters["chars"] = layers * chars;
  state.counters["per_char_ns"] = NanosecondsPerChar(layers * chars);
  Composition = nullptr;
}

// Typical: 10 layers of 50 characters on 400 x 400. Stress: 200 of 200 on 999 x 999.
BENCHMARK(BM_Paint)->Args({10, 50, 400})->Args({200, 200, 999})->Unit(benchmark::kMillisecond);

}  // namespace
