#include "toolkit/Checked.h"

#include <cstdio>

EIntOverflow::EIntOverflow() : std::runtime_error("Integer overflow") {}

ERangeError::ERangeError() : std::runtime_error("Range check error") {}

namespace {
std::string ListIndexMessage(int64_t index) {
  char text[96];
  std::snprintf(text, sizeof text, "リストのインデックスが範囲を超えています (%lld)",
                static_cast<long long>(index));
  return text;
}
}  // namespace

EListError::EListError(int64_t index) : std::runtime_error(ListIndexMessage(index)) {}

uint8_t RangeToByte(int64_t value) {
  if (value < 0 || value > 255) throw ERangeError();
  return static_cast<uint8_t>(value);
}

int16_t RangeToInt16(int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) throw ERangeError();
  return static_cast<int16_t>(value);
}
