#pragma once
// What the windows share: numeric-only edits, the undo and redo keys, the tool buttons and the
// pictures of the windows' buttons, and the tables and drawing routines of the colour and font
// pickers.
#include "toolkit/Bitmap.h"
#include "toolkit/Canvas.h"

#include <QList>
#include <QPixmap>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

class QLineEdit;
class QTableWidget;
class QToolButton;
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

// --- Undo and redo keys ---

// Ctrl+Z in `window`, whatever control has the focus, runs `undo`; Ctrl+Shift+Z and Ctrl+Y run
// `redo`. They take the place of what the control would do with these keys itself (a text
// field's own undo), so that the program has one history.
void MakeUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo);

// --- Buttons and their pictures ---
// In colours of the classic 16-colour palette on a transparent ground.

// 20 × 20: the dialogs' OK and Cancel buttons, a green check mark and a red cross; the cross
// also deletes layers.
QPixmap OkGlyph();
QPixmap CancelGlyph();
// 20 × 20: the font picker's colour button, a 3 × 3 grid of swatches.
QPixmap FontColorGlyph();

// 16 × 16: the layer panel's buttons.
QPixmap AddLayerGlyph();   // a sheet with a green plus
QPixmap CopyLayerGlyph();  // two sheets, one over the other
QPixmap ArrowGlyph(bool up);
QPixmap LayerFontGlyph();   // the letter A
QPixmap LayerColorGlyph();  // four swatches
// The default font and colour: the same pictures on a sheet, the canvas.
QPixmap DefaultFontGlyph();
QPixmap DefaultColorGlyph();
// The canvas with a block at one of its nine anchors (0..8).
QPixmap AnchorGlyph(int anchor);

// 16 × 16: the main window's undo and redo buttons, an arrow turning back to the left and its
// mirror image.
QPixmap UndoGlyph();
QPixmap RedoGlyph();
// 16 × 16: the main window's buttons that save the picture (a diskette) and copy it (a picture
// on the front one of two sheets).
QPixmap SavePictureGlyph();
QPixmap CopyPictureGlyph();

// A 25 × 25 tool button named `name` at (x, y) of `parent`, showing the 16 × 16 `picture`.
QToolButton* MakeButton(QWidget* parent, int x, int y, const QPixmap& picture, const char* name);
