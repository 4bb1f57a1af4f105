#pragma once
// Everything a composition holds at one moment, to compare two moments field by field: every
// field of every layer in stacking order with its selection flag, the selection in its order,
// the default font and the canvas size.
#include "model/Zelto.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

struct CompositionFields {
  TZeltoCanvasFields Canvas;
  std::vector<TZeltoLayerFields> Layers;
  std::vector<bool> Selected;      // each layer's flag
  std::vector<int32_t> Selection;  // layer indexes, in the order of selecting
  bool operator==(const CompositionFields&) const = default;
};

inline CompositionFields FieldsOf(const TZeltoZelto& zelto) {
  CompositionFields fields{zelto.CanvasFields(), {}, {}, zelto.SelectionIndexes()};
  for (int32_t i = 0; i < zelto.LayerCount(); ++i) {
    fields.Layers.push_back(zelto.GetLayer(i).Fields());
    fields.Selected.push_back(zelto.GetLayer(i).Selected);
  }
  return fields;
}

inline void PrintTo(const TFont& f, std::ostream* out) {
  *out << f.Name.toStdString() << " " << f.Size << "pt pitch " << int(f.Pitch) << " style " << int(f.Style)
       << " charset " << int(f.Charset) << " colour " << f.Color;
}

inline void PrintTo(const TZeltoLayerFields& l, std::ostream* out) {
  *out << "visible " << l.Visible << " text \"" << l.Text << "\" own font ";
  PrintTo(l.Font, out);
  *out << " default " << l.UseDefaultFont << " at " << l.Left << "," << l.Top << " spans " << l.LineSpan << ","
       << l.CharSpan << " block " << l.BlockWidth << " x " << l.BlockHeight << " anchor "
       << (l.Anchor ? int(*l.Anchor) : -1);
}

inline void PrintTo(const CompositionFields& c, std::ostream* out) {
  *out << c.Canvas.Width << " x " << c.Canvas.Height << ", default font ";
  PrintTo(c.Canvas.DefaultFont, out);
  *out << ", selection";
  for (const int32_t index : c.Selection) *out << " " << index;
  for (std::size_t i = 0; i < c.Layers.size(); ++i) {
    *out << "\n  layer " << i << ": ";
    PrintTo(c.Layers[i], out);
    if (i < c.Selected.size()) *out << " selected " << c.Selected[i];
  }
}
