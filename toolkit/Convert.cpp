#include "toolkit/Convert.h"

std::optional<int32_t> TryStrToInt(const QString& text) {
  qsizetype i = 0;
  const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
  if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))) ++i;
  if (i == text.size()) return std::nullopt;
  // Accumulated as a negative number, so that the lowest 32-bit value fits too.
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 - (c - u'0');
    if (value < INT32_MIN) return std::nullopt;
  }
  if (!negative) {
    if (-value > INT32_MAX) return std::nullopt;
    value = -value;
  }
  return static_cast<int32_t>(value);
}

int32_t StrToInt(const QString& text) {
  if (const std::optional<int32_t> value = TryStrToInt(text)) return *value;
  throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
}

int32_t StrToIntDef(const QString& text, int32_t fallback) {
  return TryStrToInt(text).value_or(fallback);
}
