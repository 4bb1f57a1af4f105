#pragma once
// Overflow- and range-checked integer arithmetic, and the run-time errors it raises.
// The error texts are what the user reads in the error report, so they stand exactly as given.
#include <cstdint>
#include <stdexcept>

class EIntOverflow : public std::runtime_error {
 public:
  EIntOverflow();
};

class ERangeError : public std::runtime_error {
 public:
  ERangeError();
};

// An index outside a list; the message names the index.
class EListError : public std::runtime_error {
 public:
  explicit EListError(int64_t index);
};

inline int32_t CheckedAdd(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_add_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

inline int32_t CheckedSub(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_sub_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

inline int32_t CheckedMul(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_mul_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

// Conversions into narrower ranges.
uint8_t RangeToByte(int64_t value);
int16_t RangeToInt16(int64_t value);
