#pragma once

// --- The font picker's family list and preview samples ---

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

// One entry of the font picker's family list: the face name with the family's character set
// number attached.
struct TFontEntry {
  QString Name;
  uint8_t Charset = 0;
};
using TFontNames = QList<TFontEntry>;

// Called once per installed family: appends it to `list`, except the vertical-writing
// variants, whose names begin with "@". Returns 1 to go on enumerating.
int FontEnumProc(const QString& faceName, uint8_t charset, TFontNames& list);

// The order of the family list: by character set number, then by name compared byte by byte
// in the system code page, with only a-z folded to upper case; a name that begins a longer
// one comes first. Negative, zero or positive, as `a` comes before, with or after `b`.
int CompareFontEntries(const TFontEntry& a, const TFontEntry& b);

// The preview texts as bytes in Shift-JIS: [0] for most character sets, [1] for the symbol
// set (2), [2] for the Shift-JIS set (128).
extern const std::array<std::string_view, 3> PreviewSamples;
