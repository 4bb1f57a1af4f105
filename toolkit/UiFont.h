#pragma once
// The user-interface font that every window of the program shows its controls in.
#include "toolkit/Font.h"

// "ＭＳ ゴシック", 13 pixels high, Shift-JIS character set (128), window-text colour.
// Where that face is not installed, the first call maps it to an installed Japanese gothic
// face, so that Japanese text is drawn in one face instead of falling back glyph by glyph.
TFont UiFont();
