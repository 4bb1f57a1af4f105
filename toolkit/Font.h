#pragma once
// The font value: face, size in points, pitch, styles, character set and colour.
// Copying a TFont copies all of them.
#include "toolkit/Colors.h"

#include <QFont>
#include <QString>
#include <cstdint>

enum class TFontPitch : uint8_t { Default, Variable, Fixed };

enum TFontStyle : uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using TFontStyles = uint8_t;

// Character set numbers of the platform's font records.
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SYMBOL_CHARSET = 2;
constexpr uint8_t SHIFTJIS_CHARSET = 128;
constexpr uint8_t OEM_CHARSET = 255;

// Sizes are given in points; pixels follow at 96 dots per inch, as on the desktop the
// program was made for, whatever the screen's own resolution.
constexpr int kPixelsPerInch = 96;

struct TFont {
  QString Name = QStringLiteral("DejaVu Sans");
  int Size = 10;
  TFontPitch Pitch = TFontPitch::Default;
  TFontStyles Style = 0;
  uint8_t Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;

  // The toolkit's font for a new drawing surface is the default-constructed value above:
  // "DejaVu Sans" (installed everywhere the program runs), 10 points, the default
  // character set, and the window-text system colour.

  int Height() const;             // pixel height derived from Size
  void SetHeight(int pixels);     // sets Size so that Height() gives `pixels`
  bool HasStyle(TFontStyle s) const { return (Style & s) != 0; }

  QFont ToQFont() const;

  bool operator==(const TFont&) const = default;
};
