#include "toolkit/Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <optional>

namespace {

struct SystemColorEntry {
  std::optional<QPalette::ColorRole> role;
  TColor fallback;
};

// Roles that stand for the platform's system colours; the fallbacks are the classic values.
const std::array<SystemColorEntry, 25> kSystemColors = {{
    {QPalette::Mid, RGBToColor(212, 208, 200)},          // scroll bar
    {std::nullopt, RGBToColor(58, 110, 165)},            // desktop
    {QPalette::Highlight, clClassicHighlight},          // active caption
    {QPalette::Mid, RGBToColor(128, 128, 128)},          // inactive caption
    {QPalette::Window, RGBToColor(212, 208, 200)},       // menu
    {QPalette::Base, RGBToColor(255, 255, 255)},         // window
    {QPalette::Shadow, RGBToColor(0, 0, 0)},             // window frame
    {QPalette::WindowText, RGBToColor(0, 0, 0)},         // menu text
    {QPalette::WindowText, RGBToColor(0, 0, 0)},         // window text
    {QPalette::HighlightedText, RGBToColor(255, 255, 255)},  // caption text
    {QPalette::Button, RGBToColor(212, 208, 200)},       // active border
    {QPalette::Button, RGBToColor(212, 208, 200)},       // inactive border
    {QPalette::Dark, RGBToColor(128, 128, 128)},         // application workspace
    {QPalette::Highlight, clClassicHighlight},          // highlight
    {QPalette::HighlightedText, RGBToColor(255, 255, 255)},  // highlighted text
    {QPalette::Button, RGBToColor(212, 208, 200)},       // button face
    {QPalette::Dark, RGBToColor(128, 128, 128)},         // button shadow
    {QPalette::PlaceholderText, RGBToColor(128, 128, 128)},  // grey text
    {QPalette::ButtonText, RGBToColor(0, 0, 0)},         // button text
    {QPalette::WindowText, RGBToColor(212, 208, 200)},   // inactive caption text
    {QPalette::Light, RGBToColor(255, 255, 255)},        // button highlight
    {QPalette::Shadow, RGBToColor(64, 64, 64)},          // 3D dark shadow
    {QPalette::Midlight, RGBToColor(212, 208, 200)},     // 3D light
    {QPalette::ToolTipText, RGBToColor(0, 0, 0)},        // tooltip text
    {QPalette::ToolTipBase, RGBToColor(255, 255, 225)},  // tooltip background
}};

}  // namespace

TColor GetSysColor(uint8_t number) {
  if (number >= kSystemColors.size()) return clBlack;
  const SystemColorEntry& entry = kSystemColors[number];
  if (!entry.role || !qGuiApp) return entry.fallback;
  const QColor c = QGuiApplication::palette().color(*entry.role);
  return RGBToColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                    static_cast<uint8_t>(c.blue()));
}

TColor ColorToRGB(TColor color) {
  return color < 0 ? GetSysColor(static_cast<uint8_t>(color & 0xFF)) : color;
}

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

std::optional<TColor> ColorFromHex(QStringView text) {
  if (text.size() != 7 || text[0] != QLatin1Char('#')) return std::nullopt;
  uint32_t hex = 0;
  for (const QChar c : text.sliced(1)) {
    const char16_t u = c.unicode(), lower = u | 0x20;
    int digit;
    if (u >= u'0' && u <= u'9')
      digit = u - u'0';
    else if (lower >= u'a' && lower <= u'f')
      digit = lower - u'a' + 10;
    else
      return std::nullopt;
    hex = hex << 4 | uint32_t(digit);
  }
  return RGBToColor(uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex));
}
