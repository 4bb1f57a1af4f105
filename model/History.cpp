#include "model/History.h"

#include "model/Zelto.h"

#include <algorithm>
#include <string>
#include <utility>

// One layer's fields at one moment, shared by every state in which the layer had them.
struct TZeltoHistory::TLayerState {
  bool Visible;
  std::string Text;
  TFont Font;
  bool UseDefaultFont;
  int32_t Left, Top, LineSpan, CharSpan, BlockHeight, BlockWidth;

  bool operator==(const TLayerState&) const = default;
};

// The composition's content at one moment: the layers in stacking order, the default font and
// the canvas size. Shared by consecutive states while it stays the same.
struct TZeltoHistory::TContent {
  std::vector<std::shared_ptr<const TLayerState>> Layers;
  TFont DefaultFont;
  int32_t Width, Height;
};

struct TZeltoHistory::TState {
  std::shared_ptr<const TContent> Content;
  std::vector<int32_t> Selection;  // layer indexes, in the order of selecting
  std::vector<std::pair<const void*, TViewState>> Views;
};

namespace {

// What sharing an object costs besides the object: the shared pointer's control block and the
// allocator's bookkeeping of both, about.
constexpr std::size_t kSharingBytes = 64;

std::size_t HeapBytes(const std::string& text) {
  static const std::size_t inPlace = std::string().capacity();
  return text.capacity() > inPlace ? text.capacity() + 1 : 0;
}

}  // namespace

TZeltoHistory::TZeltoHistory(TZeltoZelto& owner) : owner_(owner) {}

TZeltoHistory::~TZeltoHistory() = default;

template <class T>
std::shared_ptr<const T> TZeltoHistory::Counted(T value, std::size_t heapBytes) {
  const std::size_t size = sizeof(T) + heapBytes + kSharingBytes;
  bytes_ += size;
  return std::shared_ptr<const T>(new T(std::move(value)), [this, size](const T* object) {
    bytes_ -= size;
    delete object;
  });
}

void TZeltoHistory::AddView(const void* owner, std::function<TViewState()> save,
                            std::function<void(const std::any&)> load) {
  views_.push_back({owner, std::move(save), std::move(load)});
}

void TZeltoHistory::RemoveView(const void* owner) {
  std::erase_if(views_, [owner](const TView& view) { return view.Owner == owner; });
}

bool TZeltoHistory::CanUndo() const { return depth_ == 0 && !restoring_ && done_ > 0; }

bool TZeltoHistory::CanRedo() const { return depth_ == 0 && !restoring_ && done_ < steps_.size(); }

bool TZeltoHistory::Undo() {
  if (!CanUndo()) return false;
  mergeOpen_ = false;
  --done_;
  Restore(*steps_[done_].Before);
  Changed();
  return true;
}

bool TZeltoHistory::Redo() {
  if (!CanRedo()) return false;
  mergeOpen_ = false;
  ++done_;
  Restore(*steps_[done_ - 1].After);
  Changed();
  return true;
}

void TZeltoHistory::BreakMerge() { mergeOpen_ = false; }

void TZeltoHistory::Begin() {
  if (restoring_) return;
  if (depth_++ == 0) before_ = Capture();
}

void TZeltoHistory::End(TStepKind kind) {
  if (restoring_ || --depth_ > 0) return;
  std::shared_ptr<const TState> before = std::move(before_);
  std::shared_ptr<const TState> after = Capture();
  const TContent& was = *before->Content;
  const TContent& is = *after->Content;
  const bool changed =
      &was != &is && !(was.Width == is.Width && was.Height == is.Height && was.DefaultFont == is.DefaultFont &&
                       std::equal(was.Layers.begin(), was.Layers.end(), is.Layers.begin(), is.Layers.end(),
                                  [](const auto& a, const auto& b) { return a == b || *a == *b; }));
  if (!changed) {
    // No step; but a new selection ends the run of typing, say, that was going on.
    if (before->Selection != after->Selection) mergeOpen_ = false;
    return;
  }
  const bool runsOn = kind == TStepKind::Text || kind == TStepKind::LineSpan || kind == TStepKind::CharSpan ||
                      kind == TStepKind::Width || kind == TStepKind::Height || kind == TStepKind::Drag;
  if (mergeOpen_ && runsOn && steps_[done_ - 1].Kind == kind) {
    steps_[done_ - 1].After = std::move(after);
  } else {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back({std::move(before), std::move(after), kind});
    ++done_;
    mergeOpen_ = true;
  }
  while (bytes_ > kMaxBytes && !steps_.empty()) DropOldest();
  Changed();
}

void TZeltoHistory::DropOldest() {
  steps_.pop_front();
  --done_;
  if (steps_.empty()) mergeOpen_ = false;
}

void TZeltoHistory::Changed() {
  if (OnChange) OnChange();
}

std::shared_ptr<const TZeltoHistory::TLayerState> TZeltoHistory::CaptureLayer(const TZeltoLayer& layer,
                                                                                int32_t index) {
  // The layer's fields as last taken: usually the layer stands where it stood then.
  const std::shared_ptr<const TLayerState>* last = nullptr;
  if (static_cast<std::size_t>(index) < lastLayers_.size() && lastLayers_[index] == &layer) {
    last = &lastContent_->Layers[index];
  } else {
    if (lastIndex_.empty())
      for (std::size_t i = 0; i < lastLayers_.size(); ++i) lastIndex_[lastLayers_[i]] = static_cast<int32_t>(i);
    const auto found = lastIndex_.find(&layer);
    if (found != lastIndex_.end()) last = &lastContent_->Layers[found->second];
  }
  TLayerState state{layer.Visible,  layer.Text, layer.Font,     layer.UseDefaultFont, layer.Left,
                    layer.Top,      layer.LineSpan, layer.CharSpan, layer.BlockHeight,    layer.BlockWidth};
  if (last && **last == state) return *last;
  const std::size_t heap = HeapBytes(state.Text);
  return Counted(std::move(state), heap);
}

std::shared_ptr<const TZeltoHistory::TState> TZeltoHistory::Capture() {
  const int32_t count = owner_.LayerCount();
  std::vector<std::shared_ptr<const TLayerState>> layers;
  layers.reserve(count);
  std::vector<const TZeltoLayer*> objects;
  objects.reserve(count);
  for (int32_t i = 0; i < count; ++i) {
    const TZeltoLayer& layer = owner_.GetLayer(i);
    objects.push_back(&layer);
    layers.push_back(CaptureLayer(layer, i));
  }
  const bool sameContent = lastContent_ && lastContent_->Layers == layers &&
                           lastContent_->DefaultFont == owner_.DefaultFont() &&
                           lastContent_->Width == owner_.Width && lastContent_->Height == owner_.Height;
  if (!sameContent) {
    const std::size_t heap = layers.capacity() * sizeof(layers[0]);
    lastContent_ = Counted(TContent{std::move(layers), owner_.DefaultFont(), owner_.Width, owner_.Height}, heap);
  }
  lastLayers_ = std::move(objects);
  lastIndex_.clear();

  TState state{lastContent_, {}, {}};
  std::unordered_map<const TZeltoLayer*, int32_t> selected;
  for (int32_t i = 0; i < count; ++i)
    if (lastLayers_[i]->Selected) selected[lastLayers_[i]] = i;
  for (const TZeltoLayer* layer : owner_.Selection) state.Selection.push_back(selected.at(layer));
  std::size_t heap = state.Selection.capacity() * sizeof(int32_t);
  for (const TView& view : views_) {
    state.Views.emplace_back(view.Owner, view.Save());
    heap += state.Views.back().second.Bytes;
  }
  heap += state.Views.capacity() * sizeof(state.Views[0]);
  return Counted(std::move(state), heap);
}

void TZeltoHistory::Restore(const TState& state) {
  // Nothing that runs while the state is put back is an action of the user.
  struct TRestoring {
    bool& flag;
    explicit TRestoring(bool& f) : flag(f) { flag = true; }
    ~TRestoring() { flag = false; }
  } restoring(restoring_);

  const TContent& content = *state.Content;
  const auto count = static_cast<int32_t>(content.Layers.size());
  while (owner_.LayerCount() > count) owner_.DeleteLayer(owner_.LayerCount() - 1);
  while (owner_.LayerCount() < count) owner_.AddLayer("");
  lastLayers_.clear();
  for (int32_t i = 0; i < count; ++i) {
    TZeltoLayer& layer = owner_.GetLayer(i);
    const TLayerState& fields = *content.Layers[i];
    layer.Visible = fields.Visible;
    layer.Text = fields.Text;
    layer.Font = fields.Font;
    layer.UseDefaultFont = fields.UseDefaultFont;
    layer.Left = fields.Left;
    layer.Top = fields.Top;
    layer.LineSpan = fields.LineSpan;
    layer.CharSpan = fields.CharSpan;
    layer.BlockHeight = fields.BlockHeight;
    layer.BlockWidth = fields.BlockWidth;
    layer.SetSelected(false);
    lastLayers_.push_back(&layer);
  }
  for (const int32_t index : state.Selection) owner_.SetLayerSelected(index, true);
  owner_.SetDefaultFont(content.DefaultFont);
  owner_.SetWidth(content.Width);
  owner_.SetHeight(content.Height);
  lastContent_ = state.Content;
  lastIndex_.clear();

  for (const TView& view : views_) {
    const auto saved = std::find_if(state.Views.begin(), state.Views.end(),
                                    [&view](const auto& entry) { return entry.first == view.Owner; });
    if (saved != state.Views.end()) view.Load(saved->second.Data);
  }
}
