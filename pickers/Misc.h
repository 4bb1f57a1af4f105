#pragma once
// What the windows share: numeric-only edits, and the tables and drawing routines of the colour
// and font pickers.
#include "toolkit/Bitmap.h"
#include "toolkit/Canvas.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

class QLineEdit;
class QTableWidget;
class QWidget;

// --- The font picker's family list and preview samples ---

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

// --- The colour picker's palette, grid and sliders ---

// The 216 colours whose channels are all multiples of 51 (hexadecimal 33), as "#rrggbb" in
// lower case. The entry with the level numbers r, g, b (0..5) stands at 36·r + 6·g + b.
extern const std::array<std::string_view, 216> Palette216;

// "#rrggbb" as a colour value, red + 256·green + 65536·blue; `Default` when the digit pairs
// do not make a hexadecimal number.
TColor HexToColor(std::string_view text, TColor Default);

// Writes the decimal colour value of a palette entry into each cell of the 36 × 6 grid:
// column c has red level c div 6 and green level c mod 6, row r has blue level r.
void FillPaletteGrid(QTableWidget& grid);

// Makes `bitmap` 256 × 3 pixels holding the three channel ramps: in row k (0 red, 1 green,
// 2 blue) pixel x has the value x in channel k and 0 in the other two.
void BuildGradientBitmap(TBitmap& bitmap);

// The slider marker at (x, y): four strokes 2 pixels long and 3 wide in the pen colour, one
// on each side, leaving the centre open.
void DrawSliderMarker(TCanvas& canvas, int32_t x, int32_t y);

// A line from (x, y) to (x + dx, y + dy), the end point left out.
void DrawLineBy(TCanvas& canvas, int32_t x, int32_t y, int32_t dx, int32_t dy);

// The control's client rectangle in screen coordinates.
TRect GetControlScreenRect(const QWidget& control);

// --- Numeric-only edit fields ---

// Lets only digits into `edit`, typed or pasted. Text the program sets (a spinner's negative
// position, for example) is taken as it is, and its other characters may be deleted.
void MakeNumericEdit(QLineEdit* edit);
