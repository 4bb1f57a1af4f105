#pragma once
// Takes typed values off the front of a fuzzer's input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  template <typename T>
  T Take() {
    T value{};
    const std::size_t n = std::min(sizeof(T), size_);
    std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }

  bool Empty() const { return size_ == 0; }

  std::string Rest() {
    std::string rest(reinterpret_cast<const char*>(data_), size_);
    size_ = 0;
    return rest;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
};

// One of the code pages the program meets: double-byte, UTF-8 and single-byte.
inline const char* PickCodePage(uint8_t choice) {
  static const char* const names[] = {"CP932", "UTF-8", "ISO-8859-1"};
  return names[choice % 3];
}
