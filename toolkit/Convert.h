#pragma once
// Whole numbers read from the text of edit fields.
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

// A text that is not a whole number where one is required.
class EConvertError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An optional sign followed by decimal digits, within the signed 32-bit range; nothing else
// (no blanks, no other bases).
std::optional<int32_t> TryStrToInt(const QString& text);

// Throws EConvertError ("'abc' is not a valid integer value") for any other text.
int32_t StrToInt(const QString& text);

int32_t StrToIntDef(const QString& text, int32_t fallback);
