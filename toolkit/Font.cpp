#include "toolkit/Font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Rounded a·b/c, as the platform's MulDiv does.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(c) / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / c);
}
}  // namespace

int TFont::Height() const { return MulDiv(Size, kPixelsPerInch, 72); }

void TFont::SetHeight(int pixels) { Size = MulDiv(pixels, 72, kPixelsPerInch); }

QFont TFont::ToQFont() const {
  QFont font(Name);
  // A pixel size keeps the glyphs the same on every device, whatever its resolution.
  font.setPixelSize(std::max(1, Height()));
  font.setBold(HasStyle(fsBold));
  font.setItalic(HasStyle(fsItalic));
  font.setUnderline(HasStyle(fsUnderline));
  font.setStrikeOut(HasStyle(fsStrikeOut));
  if (Pitch == TFontPitch::Fixed) font.setFixedPitch(true);
  // Characters are placed one by one at whole pixels. Full hinting gives whole-pixel advances,
  // so text drawn a character at a time matches the same text drawn at once; kerning would
  // move a glyph away from where the layout put it.
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}
