#pragma once
// Everything a composition holds at one moment, to compare two moments field by field: every
// field of every layer in stacking order, the selection in its order, the default font and the
// canvas size.
#include "model/Zelto.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct LayerFields {
  bool Visible;
  std::string Text;
  TFont Font;
  bool UseDefaultFont;
  int32_t Left, Top, LineSpan, CharSpan, BlockHeight, BlockWidth;
  bool Selected;
  bool operator==(const LayerFields&) const = default;
};

struct CompositionFields {
  std::vector<LayerFields> Layers;
  std::vector<int32_t> Selection;  // layer indexes, in the order of selecting
  TFont DefaultFont;
  int32_t Width, Height;
  bool operator==(const CompositionFields&) const = default;
};

inline CompositionFields FieldsOf(TZeltoZelto& zelto) {
  CompositionFields fields{{}, {}, zelto.DefaultFont(), zelto.Width, zelto.Height};
  for (int32_t i = 0; i < zelto.LayerCount(); ++i) {
    const TZeltoLayer& l = zelto.GetLayer(i);
    fields.Layers.push_back({l.Visible, l.Text, l.Font, l.UseDefaultFont, l.Left, l.Top, l.LineSpan, l.CharSpan,
                             l.BlockHeight, l.BlockWidth, l.Selected});
  }
  for (const TZeltoLayer* selected : zelto.Selection)
    for (int32_t i = 0; i < zelto.LayerCount(); ++i)
      if (&zelto.GetLayer(i) == selected) fields.Selection.push_back(i);
  return fields;
}

inline void PrintTo(const TFont& f, std::ostream* out) {
  *out << f.Name.toStdString() << " " << f.Size << "pt style " << int(f.Style) << " charset " << int(f.Charset)
       << " colour " << f.Color;
}

inline void PrintTo(const CompositionFields& c, std::ostream* out) {
  *out << c.Width << " x " << c.Height << ", default font ";
  PrintTo(c.DefaultFont, out);
  *out << ", selection";
  for (const int32_t index : c.Selection) *out << " " << index;
  for (std::size_t i = 0; i < c.Layers.size(); ++i) {
    const LayerFields& l = c.Layers[i];
    *out << "\n  layer " << i << ": visible " << l.Visible << " text \"" << l.Text << "\" own font ";
    PrintTo(l.Font, out);
    *out << " default " << l.UseDefaultFont << " at " << l.Left << "," << l.Top << " spans " << l.LineSpan << ","
         << l.CharSpan << " block " << l.BlockWidth << " x " << l.BlockHeight << " selected " << l.Selected;
  }
}
