#pragma once
// The program's colour: a signed 32-bit value. Zero or more is red + 256·green + 65536·blue;
// a negative value refers to a system colour, whose number is the low byte.
#include <QColor>
#include <cstdint>
#include <optional>

using TColor = int32_t;

// System colour numbers of the platform's colour table.
enum TSystemColor : uint8_t {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
};

constexpr TColor SystemColorRef(TSystemColor number) {
  return static_cast<TColor>(0xFF000000u | number);
}

constexpr TColor clWindowText = SystemColorRef(COLOR_WINDOWTEXT);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

constexpr TColor RGBToColor(uint8_t red, uint8_t green, uint8_t blue) {
  return red | (green << 8) | (blue << 16);
}

// The channels of a plain RGB value.
constexpr uint8_t GetRValue(TColor color) { return static_cast<uint8_t>(color & 0xFF); }
constexpr uint8_t GetGValue(TColor color) { return static_cast<uint8_t>((color >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColor color) { return static_cast<uint8_t>((color >> 16) & 0xFF); }

// The highlight of the classic desktop: the highlight system colours where no application object
// exists, and the back of selected rows in the lists that draw in fixed colours.
constexpr TColor clClassicHighlight = RGBToColor(10, 36, 106);

// The current RGB value of a system colour: from the application's palette, or a fixed
// table where no application object exists.
TColor GetSysColor(uint8_t number);

// A reference is replaced by its system colour's current value; plain RGB stays as it is.
TColor ColorToRGB(TColor color);

QColor ToQColor(TColor color);

// A plain RGB colour written "#rrggbb" (six hexadecimal digits, either case); none for anything
// else.
std::optional<TColor> ColorFromHex(QStringView text);
