#include "model/Zelto.h"

#include "toolkit/Checked.h"
#include "toolkit/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

TZeltoZelto* Composition = nullptr;

// The widths of a text's characters in the canvas's font as it is while the text is measured or
// drawn. A long text asks for the same few single-byte characters again and again; each of those
// is asked of the canvas once.
class TCharWidths {
 public:
  explicit TCharWidths(TCanvas& canvas) : canvas_(canvas) { singleBytes_.fill(kUnknown); }

  int32_t operator()(std::string_view ch) {
    if (ch.size() != 1) return canvas_.TextWidth(ch);
    int32_t& width = singleBytes_[static_cast<uint8_t>(ch[0])];
    if (width == kUnknown) width = canvas_.TextWidth(ch);
    return width;
  }

 private:
  static constexpr int32_t kUnknown = INT32_MIN;
  TCanvas& canvas_;
  std::array<int32_t, 256> singleBytes_;
};

namespace {

bool IsBlank(char byte) { return static_cast<unsigned char>(byte) <= 0x20; }

// Replaces every `from`, scanning left to right without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t p; (p = text.find(from, start)) != std::string_view::npos; start = p + from.size()) {
    result.append(text.substr(start, p - start));
    result.append(to);
  }
  result.append(text.substr(start));
  return result;
}

// Cuts a line into characters: one byte, or a lead byte with the byte after it. A character
// the line ends too early to complete is left out.
template <typename Visit>
void ForEachChar(std::string_view line, Visit visit) {
  const TCodePage& codePage = TCodePage::System();
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t length = codePage.CharLength(line, pos);
    if (length == 0) return;
    visit(line.substr(pos, length));
    pos += length;
  }
}

// Cuts a text into its lines at each marker, top to bottom; an empty text has none.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t p = text.find(kLineBreakMarker);
    if (p == std::string_view::npos) {
      visit(text);
      return;
    }
    visit(text.substr(0, p));
    text.remove_prefix(p + kLineBreakMarker.size());
  }
}

int32_t CountMarkers(std::string_view text) {
  int32_t count = 0;
  for (std::size_t p = 0; (p = text.find(kLineBreakMarker, p)) != std::string_view::npos; p += kLineBreakMarker.size())
    ++count;
  return count;
}

// Puts a layer's own font on the owner's canvas for the scope's lifetime. The default font is
// restored on every way out, errors included, so that an overflow cannot leave it replaced.
class OwnFontScope {
 public:
  explicit OwnFontScope(const TZeltoLayer& layer) : owner_(layer.UseDefaultFont ? nullptr : layer.Owner) {
    if (!owner_) return;
    owner_->SaveFont();
    owner_->Bitmap.Canvas().SetFont(layer.Font);
  }
  ~OwnFontScope() {
    if (owner_) owner_->RestoreFont();
  }
  OwnFontScope(const OwnFontScope&) = delete;
  OwnFontScope& operator=(const OwnFontScope&) = delete;

 private:
  TZeltoZelto* owner_;
};

// A stretch [Begin, End) of pixels; the stretch that covers nothing to begin with.
struct TSpan {
  int64_t Begin = INT64_MAX;
  int64_t End = INT64_MIN;

  void Add(int64_t begin, int64_t end) {
    Begin = std::min(Begin, begin);
    End = std::max(End, end);
  }
  bool Contains(int64_t v) const { return v >= Begin && v < End; }
};

// Adds to `cells` where the character cells of `line` lie from its start. The advances are
// checked as the measuring of the line's width checks them, so that both overflow alike.
void AddLineCells(std::string_view line, int32_t charSpan, TCharWidths& widths, TSpan& cells) {
  int32_t x = 0;
  ForEachChar(line, [&](std::string_view ch) {
    const int32_t width = widths(ch);
    cells.Add(x, int64_t(x) + width);
    x = CheckedAdd(x, CheckedAdd(width, charSpan));
  });
}

}  // namespace

std::string StoredText(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return ReplaceAll(text, "\r\n", kLineBreakMarker);
}

std::string TypedText(const QString& text) {
  return TCodePage::System().FromUnicode(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

QString ShownText(std::string_view text) {
  return TCodePage::System().ToUnicode(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// ---- TZeltoLayer ----

TZeltoLayer::TZeltoLayer(std::string_view text, TZeltoZelto* owner) : Owner(owner) {
  Visible = true;
  SetText(text);
  Left = Top = 0;
  LineSpan = CharSpan = 0;
  UseDefaultFont = true;
  Font = Owner->DefaultFont();
}

TZeltoLayer::~TZeltoLayer() { std::erase(Owner->Selection, this); }

// A copy is measured afresh by its next alignment, and its text is stored as any text is.
void TZeltoLayer::Assign(const TZeltoLayer& source) {
  const int32_t blockHeight = BlockHeight, blockWidth = BlockWidth;
  Fields() = source.Fields();
  BlockHeight = blockHeight;
  BlockWidth = blockWidth;
  SetText(source.GetText());
}

void TZeltoLayer::SetText(std::string_view text) { Text = StoredText(text); }

std::string TZeltoLayer::GetText() const { return ReplaceAll(Text, kLineBreakMarker, "\r\n"); }

void TZeltoLayer::SetSelected(bool value) {
  if (value == Selected) return;
  if (value)
    Owner->Selection.push_back(this);
  else
    std::erase(Owner->Selection, this);
  Selected = value;
}

void TZeltoLayer::MoveBy(int32_t dx, int32_t dy) {
  if (dx != 0 || dy != 0) Anchor.reset();
  Left = CheckedAdd(Left, dx);
  Top = CheckedAdd(Top, dy);
}

int32_t TZeltoLayer::MeasureBlockHeight(TCanvas& canvas) const {
  const int32_t markers = CountMarkers(Text);
  const int32_t h = canvas.TextHeight(Text);
  return CheckedAdd(CheckedMul(markers, CheckedAdd(h, LineSpan)), h);
}

int32_t TZeltoLayer::MeasureLineWidth(std::string_view line, TCharWidths& widths) const {
  int32_t total = 0;
  bool any = false;
  ForEachChar(line, [&](std::string_view ch) {
    total = CheckedAdd(total, CheckedAdd(widths(ch), CharSpan));
    any = true;
  });
  return any ? CheckedSub(total, CharSpan) : total;
}

int32_t TZeltoLayer::MeasureBlockWidth(TCanvas& canvas) const {
  TCharWidths widths(canvas);
  int32_t widest = 0;
  ForEachLine(Text, [&](std::string_view line) { widest = std::max(widest, MeasureLineWidth(line, widths)); });
  return widest;
}

bool TZeltoLayer::BlockContains(int32_t x, int32_t y) const {
  TCanvas& canvas = Owner->Bitmap.Canvas();
  const OwnFontScope fontScope(*this);
  try {
    // The lines' tops run from the first's, 0, to the last's, upward where the span makes the
    // step from line to line negative.
    const int64_t h = canvas.TextHeight(Text);
    const int64_t lastTop = MeasureBlockHeight(canvas) - h;
    if (!TSpan{std::min<int64_t>(0, lastTop), std::max<int64_t>(0, lastTop) + h}.Contains(int64_t(y) - Top))
      return false;
    TCharWidths widths(canvas);
    TSpan cells;
    ForEachLine(Text, [&](std::string_view line) { AddLineCells(line, CharSpan, widths, cells); });
    return cells.Contains(int64_t(x) - Left);
  } catch (const EIntOverflow&) {
    return false;
  }
}

void TZeltoLayer::AlignToAnchor(uint8_t anchor) {
  TCanvas& canvas = Owner->Bitmap.Canvas();
  const OwnFontScope fontScope(*this);
  BlockHeight = MeasureBlockHeight(canvas);
  BlockWidth = MeasureBlockWidth(canvas);

  const int anchorIndex = std::min<int>(anchor, 8);
  // Division truncates toward zero, as C++'s does: a block 5 wider than the canvas stands at -2.
  auto place = [](int position, int32_t room, int32_t extent) -> int32_t {
    switch (position) {
      case 0: return 0;
      case 1: return CheckedSub(room, extent) / 2;
      default: return CheckedSub(room, extent);
    }
  };
  Left = place(anchorIndex % 3, Owner->Width, BlockWidth);
  Top = place(anchorIndex / 3, Owner->Height, BlockHeight);
}

void TZeltoLayer::Draw(TCanvas& canvas) {
  if (!Visible) return;
  const OwnFontScope fontScope(*this);
  const int32_t h = canvas.TextHeight(Text);
  const int32_t x = Left;
  int32_t y = Top;
  TCharWidths widths(canvas);
  ForEachLine(Text, [&](std::string_view line) {
    DrawLine(x, y, line, canvas, widths);
    y = CheckedAdd(y, CheckedAdd(h, LineSpan));
  });
}

// Every character is measured and placed, its advance checked; one whose cell lies farther off
// the bitmap than any glyph reaches would paint nothing, and is not handed to the canvas. Most of
// a long text lies there, and so costs its measuring only.
void TZeltoLayer::DrawLine(int32_t x, int32_t y, std::string_view line, TCanvas& canvas, TCharWidths& widths) const {
  const int64_t h = canvas.TextHeight(Text);
  const int64_t reach = MaxGlyphReach(h);
  const bool lineShows = y + h + reach > 0 && y - reach < Owner->Height;
  ForEachChar(line, [&](std::string_view ch) {
    const int32_t width = widths(ch);
    if (lineShows && int64_t(x) + width + reach > 0 && x - reach < Owner->Width) canvas.TextOut(x, y, ch);
    x = CheckedAdd(x, CheckedAdd(width, CharSpan));
  });
}

// ---- TZeltoZelto ----

TZeltoZelto::TZeltoZelto(int32_t width, int32_t height, TTextEngine& engine)
    : Bitmap(TPixelFormat::pf32bit, engine), Width(width), Height(height) {
  Bitmap.SetSize(width, height);
}

TZeltoZelto::~TZeltoZelto() {
  // Layers go from the last index down; each takes itself out of the selection.
  while (!Layers.empty()) Layers.pop_back();
}

// The bitmap is resized first, so that a size it cannot take leaves both as they were.
void TZeltoZelto::SetWidth(int32_t value) {
  Bitmap.SetWidth(value);
  Width = value;
}

void TZeltoZelto::SetHeight(int32_t value) {
  Bitmap.SetHeight(value);
  Height = value;
}

void TZeltoZelto::SetDefaultFont(const TFont& font) { Bitmap.Canvas().SetFont(font); }

TFont& TZeltoZelto::DefaultFont() { return Bitmap.Canvas().Font(); }

const TFont& TZeltoZelto::DefaultFont() const { return Bitmap.Canvas().Font(); }

void TZeltoZelto::SaveFont() { SavedFont = DefaultFont(); }

void TZeltoZelto::RestoreFont() { SetDefaultFont(SavedFont); }

int32_t TZeltoZelto::AddLayer(std::string_view text) {
  Layers.push_back(std::make_unique<TZeltoLayer>(text, this));
  return LayerCount() - 1;
}

int32_t TZeltoZelto::AddLayerCopy(int32_t index) {
  auto copy = std::make_unique<TZeltoLayer>("", this);
  copy->Assign(GetLayer(index));
  Layers.push_back(std::move(copy));
  return LayerCount() - 1;
}

void TZeltoZelto::DeleteLayer(int32_t index) {
  GetLayer(index);
  Layers.erase(Layers.begin() + index);
}

void TZeltoZelto::MoveLayer(int32_t curIndex, int32_t newIndex) {
  if (curIndex == newIndex) return;
  GetLayer(curIndex);
  GetLayer(newIndex);
  const auto cur = Layers.begin() + curIndex;
  const auto target = Layers.begin() + newIndex;
  if (curIndex < newIndex)
    std::rotate(cur, cur + 1, target + 1);
  else
    std::rotate(target, cur, cur + 1);
}

TZeltoLayer& TZeltoZelto::GetLayer(int32_t index) const {
  if (index < 0 || index >= LayerCount()) throw EListError(index);
  return *Layers[index];
}

void TZeltoZelto::SetLayerVisible(int32_t index, bool value) { GetLayer(index).Visible = value; }
bool TZeltoZelto::LayerVisible(int32_t index) const { return GetLayer(index).Visible; }
void TZeltoZelto::SetLayerUseDefaultFont(int32_t index, bool value) { GetLayer(index).UseDefaultFont = value; }
bool TZeltoZelto::LayerUseDefaultFont(int32_t index) const { return GetLayer(index).UseDefaultFont; }
void TZeltoZelto::SetLayerSelected(int32_t index, bool value) { GetLayer(index).SetSelected(value); }
bool TZeltoZelto::LayerSelected(int32_t index) const { return GetLayer(index).Selected; }

TZeltoLayer& TZeltoZelto::SelectedLayer(int32_t index) const {
  if (index < 0 || index >= SelectedCount()) throw EListError(index);
  return *Selection[index];
}

void TZeltoZelto::Paint(TCanvas& canvas) {
  TCanvas& surface = Bitmap.Canvas();
  surface.Brush.Style = TBrushStyle::Solid;
  surface.FillRect({0, 0, Width, Height});
  surface.Brush.Style = TBrushStyle::Clear;
  for (int32_t i = LayerCount() - 1; i >= 0; --i) GetLayer(i).Draw(surface);
  canvas.Draw(0, 0, Bitmap.Image());
}

int32_t TZeltoZelto::LayerAt(int32_t x, int32_t y) const {
  for (int32_t i = 0; i < LayerCount(); ++i)
    if (Layers[i]->Visible && Layers[i]->BlockContains(x, y)) return i;
  return -1;
}

TZeltoCanvasFields TZeltoZelto::CanvasFields() const { return {Width, Height, DefaultFont()}; }

std::vector<int32_t> TZeltoZelto::SelectionIndexes() const {
  std::unordered_map<const TZeltoLayer*, int32_t> indexes;
  for (int32_t i = 0; i < LayerCount(); ++i)
    if (Layers[i]->Selected) indexes[Layers[i].get()] = i;
  std::vector<int32_t> selection;
  selection.reserve(Selection.size());
  for (const TZeltoLayer* layer : Selection) selection.push_back(indexes.at(layer));
  return selection;
}

void TZeltoZelto::Replace(const TZeltoContent& content, std::span<const int32_t> selection) {
  Bitmap.SetSize(content.Canvas.Width, content.Canvas.Height);
  Width = content.Canvas.Width;
  Height = content.Canvas.Height;
  SetDefaultFont(content.Canvas.DefaultFont);
  const auto count = static_cast<int32_t>(content.Layers.size());
  while (LayerCount() > count) DeleteLayer(LayerCount() - 1);
  while (LayerCount() < count) AddLayer("");
  for (int32_t i = 0; i < count; ++i) {
    TZeltoLayer& layer = GetLayer(i);
    layer.Fields() = *content.Layers[i];
    layer.SetSelected(false);
  }
  for (const int32_t index : selection) SetLayerSelected(index, true);
}

int32_t ForEachSelected(bool forward, const TLayerProc& callback) {
  const int32_t selected = Composition->SelectedCount();
  const int32_t count = Composition->LayerCount();
  for (int32_t k = 0; k < count; ++k) {
    const int32_t index = forward ? k : count - 1 - k;
    if (Composition->LayerSelected(index)) callback(index, Composition->GetLayer(index));
  }
  return selected;
}
