#pragma once
// A table row's description as its test's name: the words run together, each capitalised, and
// only ASCII letters and digits kept, as GoogleTest's names must be.
#include <cctype>
#include <string>
#include <string_view>

inline std::string CaseName(std::string_view words) {
  std::string name;
  bool wordStart = true;
  for (const char c : words) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\'') continue;  // "spinner's" is one word
    if (byte < 0x80 && std::isalnum(byte)) {
      name += wordStart ? static_cast<char>(std::toupper(byte)) : c;
      wordStart = false;
    } else {
      wordStart = true;
    }
  }
  return name;
}
