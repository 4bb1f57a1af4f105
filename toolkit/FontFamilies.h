#pragma once
// The installed font families, reported once each with the character set number that the
// font records of the platform the program was made for would carry.
#include <QString>

#include <cstdint>
#include <functional>

// Called once per family with its face name and character set number; returning 0 stops
// the enumeration.
using TFontFamilyProc = std::function<int(const QString& faceName, uint8_t charset)>;

// The character set number of an installed family: 128 (Shift-JIS) when it can write
// Japanese, 2 (symbol) when it is a symbol font, 0 (ANSI) for every other family. Japanese
// wins over symbol, as the family's text is then read as Shift-JIS.
uint8_t FamilyCharset(const QString& family);

// Reports every installed family to `proc`, in no particular order.
void EnumFontFamilies(const TFontFamilyProc& proc);
