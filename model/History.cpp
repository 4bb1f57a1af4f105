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

// What each window showed, by the window.
struct TZeltoHistory::TViews {
  std::vector<std::pair<const void*, TViewState>> Of;
};

struct TZeltoHistory::TState {
  std::shared_ptr<const TContent> Content;
  std::vector<int32_t> Selection;  // layer indexes, in the order of selecting
  std::shared_ptr<const TViews> Views;
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
  lastViews_ = SaveViews();
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
  if (depth_++ > 0) return;
  if (!lastViews_) lastViews_ = SaveViews();
  before_ = Capture(lastViews_);
}

void TZeltoHistory::End(TStepKind kind) {
  if (restoring_ || --depth_ > 0) return;
  std::shared_ptr<const TState> before = std::move(before_);
  lastViews_ = SaveViews();
  std::shared_ptr<const TState> after = Capture(lastViews_);
  const TContent& was = *before->Content;
  const TContent& is = *after->Content;
  const bool changed =
      &was != &is && !(was.Width == is.Width && was.Height == is.Height && was.DefaultFont == is.DefaultFont &&
                       std::equal(was.Layers.begin(), was.Layers.end(), is.Layers.begin(), is.Layers.end(),
                                  [](const auto& a, const auto& b) { return a == b || *a == *b; }));
  const bool runsOn = mergeOpen_ && steps_[done_ - 1].Kind == kind &&
                     (kind == TStepKind::Text || kind == TStepKind::LineSpan || kind == TStepKind::CharSpan ||
                      kind == TStepKind::Width || kind == TStepKind::Height || kind == TStepKind::Drag);
  if (!changed) {
    // No step. A new selection ends the run of typing, say, that was going on; more of the run
    // that changes no layer (a "0" after "15" above the spinner's range) still ends it with what
    // the editors now show.
    if (before->Selection != after->Selection)
      mergeOpen_ = false;
    else if (runsOn)
      steps_[done_ - 1].After = std::move(after);
    return;
  }
  if (runsOn) {
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

std::shared_ptr<const TZeltoHistory::TContent> TZeltoHistory::CaptureContent() {
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
  const bool same = lastContent_ && lastContent_->Layers == layers &&
                    lastContent_->DefaultFont == owner_.DefaultFont() && lastContent_->Width == owner_.Width &&
                    lastContent_->Height == owner_.Height;
  if (!same) {
    const std::size_t heap = layers.capacity() * sizeof(layers[0]);
    lastContent_ = Counted(TContent{std::move(layers), owner_.DefaultFont(), owner_.Width, owner_.Height}, heap);
  }
  lastLayers_ = std::move(objects);
  lastIndex_.clear();
  return lastContent_;
}

std::shared_ptr<const TZeltoHistory::TViews> TZeltoHistory::SaveViews() {
  TViews views;
  std::size_t heap = 0;
  for (const TView& view : views_) {
    views.Of.emplace_back(view.Owner, view.Save());
    heap += views.Of.back().second.Bytes;
  }
  heap += views.Of.capacity() * sizeof(views.Of[0]);
  return Counted(std::move(views), heap);
}

std::shared_ptr<const TZeltoHistory::TState> TZeltoHistory::Capture(std::shared_ptr<const TViews> views) {
  TState state{CaptureContent(), {}, std::move(views)};
  std::unordered_map<const TZeltoLayer*, int32_t> selected;
  for (std::size_t i = 0; i < lastLayers_.size(); ++i)
    if (lastLayers_[i]->Selected) selected[lastLayers_[i]] = static_cast<int32_t>(i);
  for (const TZeltoLayer* layer : owner_.Selection) state.Selection.push_back(selected.at(layer));
  const std::size_t heap = state.Selection.capacity() * sizeof(int32_t);
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

  lastViews_ = state.Views;
  for (const TView& view : views_) {
    const auto& saved = lastViews_->Of;
    const auto found =
        std::find_if(saved.begin(), saved.end(), [&view](const auto& entry) { return entry.first == view.Owner; });
    if (found != saved.end()) view.Load(found->second.Data);
  }
}
