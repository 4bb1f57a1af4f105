#pragma once
// The per_char_ns counter: nanoseconds of CPU time a character, each iteration drawing `chars`.
#include <benchmark/benchmark.h>

#include <cstdint>

inline benchmark::Counter NanosecondsPerChar(int64_t chars) {
  // An inverted rate gives seconds per unit; counting in billionths of a character makes the
  // seconds nanoseconds.
  return benchmark::Counter(double(chars) * 1e-9,
                            benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
