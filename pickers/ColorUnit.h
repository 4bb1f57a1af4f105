#pragma once
// The modal colour picker: three channel sliders and a grid of the 216 colours whose channels
// are all multiples of 51.
#include "toolkit/Colors.h"

class QWidget;

// Shows the picker over `owner`, starting from `color` (a system colour reference is resolved
// to its current RGB value first). OK writes the chosen plain RGB value into `color` and
// returns true; Cancel, Esc and the close box leave `color` untouched and return false.
bool ShowColorPicker(QWidget* owner, TColor& color);
