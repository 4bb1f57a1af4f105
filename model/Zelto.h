#pragma once
// The composition: a canvas, its stack of text layers, the selection and the default font,
// and the measuring, anchoring and drawing of a layer's text.
#include "model/History.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Font.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TZeltoZelto;
class TCharWidths;

// Inside a layer's text a line break is these two bytes; at the edges it is CR LF.
inline constexpr std::string_view kLineBreakMarker = "\xFF\xFF";

// A text as a layer stores it: trimmed of bytes up to 0x20 at both ends, each CR LF as the marker.
std::string StoredText(std::string_view text);

// A text as the user types it, Unicode with "\n" between lines, in the system code page with CR LF
// between lines, as SetText takes it (a character the code page cannot hold becomes "?"); and a
// text as GetText gives it, as the user sees it.
std::string TypedText(const QString& text);
QString ShownText(std::string_view text);

// Everything a layer holds but its owner and its selection: what a copy, the history and a
// document carry. The comparison is the type's own, so a field added here is compared, copied,
// undone and redone with the others; a document needs a key for it (model/Document).
struct TZeltoLayerFields {
  bool Visible = true;
  std::string Text;
  TFont Font;
  bool UseDefaultFont = true;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t LineSpan = 0;
  int32_t CharSpan = 0;
  int32_t BlockHeight = 0;
  int32_t BlockWidth = 0;
  // The anchor that an alignment button last placed the layer at (0..8), until the layer moves
  // otherwise; a table's row puts a layer with an anchor there again for its new text.
  std::optional<uint8_t> Anchor;

  bool operator==(const TZeltoLayerFields&) const = default;
};

// The composition's own fields beside its layers and selection: the canvas size and the default
// font, which is the font of the bitmap's canvas.
struct TZeltoCanvasFields {
  int32_t Width = 0;
  int32_t Height = 0;
  TFont DefaultFont;

  bool operator==(const TZeltoCanvasFields&) const = default;
};

// A composition as a value: its canvas fields and every layer's fields in stacking order. The
// layers' fields are immutable and shared by every value that has them in common, so a value
// can be kept (the history's states) or handed to another thread (a recovery copy) cheaply.
struct TZeltoContent {
  TZeltoCanvasFields Canvas;
  std::vector<std::shared_ptr<const TZeltoLayerFields>> Layers;
};

class TZeltoLayer : public TZeltoLayerFields {
 public:
  TZeltoLayer(std::string_view text, TZeltoZelto* owner);
  ~TZeltoLayer();
  TZeltoLayer(const TZeltoLayer&) = delete;
  TZeltoLayer& operator=(const TZeltoLayer&) = delete;

  void Assign(const TZeltoLayer& source);
  // Stores the text trimmed of bytes up to 0x20 at both ends, each CR LF as the marker.
  void SetText(std::string_view text);
  std::string GetText() const;
  void SetSelected(bool value);
  void MoveBy(int32_t dx, int32_t dy);

  // Measures the block and places it at one of the nine anchors of the canvas.
  void AlignToAnchor(uint8_t anchor);
  void Draw(TCanvas& canvas);
  // Whether canvas pixel (x, y) lies in the block as it is drawn: the rectangle around every
  // character cell of every line, measured in the font in use as AlignToAnchor measures, whether
  // the lines stack downward or upward and the characters run forward or back. Stores nothing;
  // a block whose measuring overflows holds no pixel.
  bool BlockContains(int32_t x, int32_t y) const;

  const TZeltoLayerFields& Fields() const { return *this; }
  TZeltoLayerFields& Fields() { return *this; }

  TZeltoZelto* const Owner;
  bool Selected = false;

 private:
  int32_t MeasureBlockHeight(TCanvas& canvas) const;
  int32_t MeasureLineWidth(std::string_view line, TCharWidths& widths) const;
  int32_t MeasureBlockWidth(TCanvas& canvas) const;
  void DrawLine(int32_t x, int32_t y, std::string_view line, TCanvas& canvas, TCharWidths& widths) const;
};

// A per-layer callback, called with the layer's index in the stack and the layer.
using TLayerProc = std::function<void(int32_t index, TZeltoLayer& layer)>;

class TZeltoZelto {
 public:
  // `engine` measures and draws the text; the raster engine unless a test gives another.
  TZeltoZelto(int32_t width, int32_t height, TTextEngine& engine = TTextEngine::Raster());
  ~TZeltoZelto();
  TZeltoZelto(const TZeltoZelto&) = delete;
  TZeltoZelto& operator=(const TZeltoZelto&) = delete;

  void SetWidth(int32_t value);
  void SetHeight(int32_t value);

  // The default font is the font of the bitmap's canvas; DefaultFont() is that object itself.
  void SetDefaultFont(const TFont& font);
  TFont& DefaultFont();
  const TFont& DefaultFont() const;
  void SaveFont();
  void RestoreFont();

  int32_t AddLayer(std::string_view text);
  int32_t AddLayerCopy(int32_t index);
  void DeleteLayer(int32_t index);
  void MoveLayer(int32_t curIndex, int32_t newIndex);
  int32_t LayerCount() const { return static_cast<int32_t>(Layers.size()); }
  TZeltoLayer& GetLayer(int32_t index) const;

  void SetLayerVisible(int32_t index, bool value);
  bool LayerVisible(int32_t index) const;
  void SetLayerUseDefaultFont(int32_t index, bool value);
  bool LayerUseDefaultFont(int32_t index) const;
  void SetLayerSelected(int32_t index, bool value);
  bool LayerSelected(int32_t index) const;
  int32_t SelectedCount() const { return static_cast<int32_t>(Selection.size()); }
  TZeltoLayer& SelectedLayer(int32_t index) const;

  // Renders every layer into the bitmap, then copies the bitmap onto `canvas` at (0, 0).
  void Paint(TCanvas& canvas);
  // The top-most visible layer whose block holds canvas pixel (x, y) (TZeltoLayer::BlockContains),
  // or -1.
  int32_t LayerAt(int32_t x, int32_t y) const;

  TZeltoCanvasFields CanvasFields() const;
  // The selection as layer indexes, in the order of selecting.
  std::vector<int32_t> SelectionIndexes() const;
  // Makes the composition `content` with `selection` (layer indexes in the order of selecting).
  // The canvas size comes first: one that the bitmap cannot take raises an error and changes
  // nothing.
  void Replace(const TZeltoContent& content, std::span<const int32_t> selection);

  TBitmap Bitmap;
  std::vector<std::unique_ptr<TZeltoLayer>> Layers;  // index 0 on top
  std::vector<TZeltoLayer*> Selection;               // in the order of selecting
  int32_t Width;
  int32_t Height;
  TFont SavedFont;
  // The user's changes, to undo and redo.
  TZeltoHistory History{*this};
};

// The one composition of the program; the main window creates and frees it.
extern TZeltoZelto* Composition;

// Calls `callback` for each selected layer of `Composition` in stacking order, over the
// indexes that existed when the visit began. Returns the selected count from before the visit.
int32_t ForEachSelected(bool forward, const TLayerProc& callback);
