#include "model/History.h"

#include "model/Zelto.h"

#include <algorithm>
#include <string>
#include <utility>

// What each window showed, by the window, and the memory the history counts for it.
struct TZeltoHistory::TViews {
  std::vector<std::pair<const void*, TViewState>> Of;
  std::size_t Bytes = 0;
};

struct TZeltoHistory::TState {
  std::shared_ptr<const TZeltoContent> Content;
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

// The memory the history counts for a shared object of each kind: the object, what it holds
// beyond itself, and the sharing.
std::size_t HeapBytes(const TZeltoLayerFields& fields) { return HeapBytes(fields.Text); }
std::size_t HeapBytes(const TZeltoContent& content) { return content.Layers.capacity() * sizeof(content.Layers[0]); }

template <class T>
std::size_t SharedBytes(const T& object) {
  return sizeof(T) + HeapBytes(object) + kSharingBytes;
}

bool SameContent(const TZeltoContent& a, const TZeltoContent& b) {
  return &a == &b || (a.Canvas == b.Canvas && std::equal(a.Layers.begin(), a.Layers.end(), b.Layers.begin(),
                                                         b.Layers.end(), [](const auto& x, const auto& y) {
                                                           return x == y || *x == *y;
                                                         }));
}

// Nothing that runs while a state is put back is an action of the user.
class TRestoring {
 public:
  explicit TRestoring(bool& flag) : flag_(flag) { flag_ = true; }
  ~TRestoring() { flag_ = false; }
  TRestoring(const TRestoring&) = delete;
  TRestoring& operator=(const TRestoring&) = delete;

 private:
  bool& flag_;
};

bool Merges(TStepKind kind) {
  switch (kind) {
    case TStepKind::Text:
    case TStepKind::LineSpan:
    case TStepKind::CharSpan:
    case TStepKind::Width:
    case TStepKind::Height:
    case TStepKind::Drag:
    case TStepKind::Nudge:
      return true;
    default:
      return false;
  }
}

}  // namespace

TZeltoHistory::TZeltoHistory(TZeltoZelto& owner) : owner_(owner) {}

TZeltoHistory::~TZeltoHistory() = default;

template <class T>
std::shared_ptr<const T> TZeltoHistory::Counted(T value, std::size_t size) {
  const T* object = new T(std::move(value));
  bytes_ += size;
  return std::shared_ptr<const T>(object, [this, size](const T* counted) {
    bytes_ -= size;
    delete counted;
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

void TZeltoHistory::Start(const TZeltoContent& content, std::span<const int32_t> selection) {
  const TRestoring restoring(restoring_);
  owner_.Replace(content, selection);
  steps_.clear();
  done_ = 0;
  Forget();
  LoadViews(nullptr);
  lastViews_ = SaveViews();
  savedContent_ = CaptureContent();
  Changed();
}

std::shared_ptr<const TZeltoContent> TZeltoHistory::Content() { return CaptureContent(); }

void TZeltoHistory::MarkSaved() {
  savedContent_ = lastContent_ ? lastContent_ : CaptureContent();
  // The saved state is where a step ends, so that undo can come back to it.
  mergeOpen_ = false;
  Changed();
}

void TZeltoHistory::MarkUnsaved() {
  savedContent_.reset();
  Changed();
}

bool TZeltoHistory::Modified() {
  const std::shared_ptr<const TZeltoContent> current = lastContent_ ? lastContent_ : CaptureContent();
  return !savedContent_ || !SameContent(*current, *savedContent_);
}

std::size_t TZeltoHistory::CurrentBytes() const {
  std::size_t bytes = lastViews_ ? lastViews_->Bytes : 0;
  if (lastContent_) {
    bytes += SharedBytes(*lastContent_);
    for (const auto& layer : lastContent_->Layers) bytes += SharedBytes(*layer);
  }
  return bytes;
}

std::size_t TZeltoHistory::Bytes() const { return AddedBytes(CurrentBytes()); }

std::size_t TZeltoHistory::AddedBytes(std::size_t current) const {
  const std::size_t all = bytes_;
  return all > current ? all - current : 0;
}

void TZeltoHistory::Begin() noexcept {
  if (restoring_) return;
  if (depth_++ > 0) return;
  try {
    if (!lastViews_) lastViews_ = SaveViews();
    before_ = Capture(lastViews_);
  } catch (const std::exception& error) {
    // The action runs without a state to go back to; End records no step for it.
    before_.reset();
    Fail(error);
  } catch (...) {
    before_.reset();
    Fail(std::runtime_error("an error of no known kind"));
  }
}

void TZeltoHistory::End(TStepKind kind) noexcept {
  if (restoring_ || --depth_ > 0) return;
  try {
    Record(kind);
  } catch (const std::exception& error) {
    Fail(error);
  } catch (...) {
    Fail(std::runtime_error("an error of no known kind"));
  }
  before_.reset();
}

void TZeltoHistory::Fail(const std::exception& error) noexcept {
  Forget();
  // A report that fails in turn has nothing left to tell it to.
  try {
    if (OnError) OnError(error);
  } catch (...) {
  }
}

void TZeltoHistory::Record(TStepKind kind) {
  if (!before_) return;
  std::shared_ptr<const TState> before = std::move(before_);
  lastViews_ = SaveViews();
  std::shared_ptr<const TState> after = Capture(lastViews_);
  const bool changed = !SameContent(*before->Content, *after->Content);
  const bool runsOn = mergeOpen_ && steps_[done_ - 1].Kind == kind && Merges(kind);
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
  const std::size_t current = CurrentBytes();  // dropping steps frees none of it
  while (steps_.size() > 1 && AddedBytes(current) > kMaxBytes) DropOldest();
  Changed();
}

void TZeltoHistory::Forget() {
  lastViews_.reset();
  lastContent_.reset();
  lastLayers_.clear();
  lastIndex_.clear();
  mergeOpen_ = false;
}

void TZeltoHistory::DropOldest() {
  steps_.pop_front();
  --done_;
}

void TZeltoHistory::Changed() {
  if (OnChange) OnChange();
}

std::shared_ptr<const TZeltoLayerFields> TZeltoHistory::CaptureLayer(const TZeltoLayer& layer, int32_t index) {
  // The layer's fields as last taken: usually the layer stands where it stood then.
  const std::shared_ptr<const TZeltoLayerFields>* last = nullptr;
  if (static_cast<std::size_t>(index) < lastLayers_.size() && lastLayers_[index] == &layer) {
    last = &lastContent_->Layers[index];
  } else {
    if (lastIndex_.empty())
      for (std::size_t i = 0; i < lastLayers_.size(); ++i) lastIndex_[lastLayers_[i]] = static_cast<int32_t>(i);
    const auto found = lastIndex_.find(&layer);
    if (found != lastIndex_.end()) last = &lastContent_->Layers[found->second];
  }
  if (last && **last == layer.Fields()) return *last;
  TZeltoLayerFields fields = layer.Fields();
  const std::size_t size = SharedBytes(fields);
  return Counted(std::move(fields), size);
}

std::shared_ptr<const TZeltoContent> TZeltoHistory::CaptureContent() {
  const int32_t count = owner_.LayerCount();
  std::vector<std::shared_ptr<const TZeltoLayerFields>> layers;
  layers.reserve(count);
  std::vector<const TZeltoLayer*> objects;
  objects.reserve(count);
  for (int32_t i = 0; i < count; ++i) {
    const TZeltoLayer& layer = owner_.GetLayer(i);
    objects.push_back(&layer);
    layers.push_back(CaptureLayer(layer, i));
  }
  const TZeltoCanvasFields canvas = owner_.CanvasFields();
  if (!lastContent_ || lastContent_->Layers != layers || !(lastContent_->Canvas == canvas)) {
    TZeltoContent content{canvas, std::move(layers)};
    const std::size_t size = SharedBytes(content);
    lastContent_ = Counted(std::move(content), size);
  }
  lastLayers_ = std::move(objects);
  lastIndex_.clear();
  return lastContent_;
}

std::shared_ptr<const TZeltoHistory::TViews> TZeltoHistory::SaveViews() {
  TViews views;
  for (const TView& view : views_) views.Of.emplace_back(view.Owner, view.Save());
  views.Bytes = sizeof(views) + views.Of.capacity() * sizeof(views.Of[0]) + kSharingBytes;
  for (const auto& view : views.Of) views.Bytes += view.second.Bytes;
  const std::size_t size = views.Bytes;
  return Counted(std::move(views), size);
}

std::shared_ptr<const TZeltoHistory::TState> TZeltoHistory::Capture(std::shared_ptr<const TViews> views) {
  std::shared_ptr<const TZeltoContent> content = CaptureContent();
  TState state{std::move(content), owner_.SelectionIndexes(), std::move(views)};
  const std::size_t size = sizeof(state) + state.Selection.capacity() * sizeof(int32_t) + kSharingBytes;
  return Counted(std::move(state), size);
}

void TZeltoHistory::Restore(const TState& state) {
  const TRestoring restoring(restoring_);
  owner_.Replace(*state.Content, state.Selection);
  lastLayers_.clear();
  for (int32_t i = 0; i < owner_.LayerCount(); ++i) lastLayers_.push_back(&owner_.GetLayer(i));
  lastContent_ = state.Content;
  lastIndex_.clear();
  lastViews_ = state.Views;
  LoadViews(lastViews_.get());
}

void TZeltoHistory::LoadViews(const TViews* views) {
  for (const TView& view : views_) {
    if (!views) {
      view.Load(std::any());
      continue;
    }
    const auto& saved = views->Of;
    const auto found =
        std::find_if(saved.begin(), saved.end(), [&view](const auto& entry) { return entry.first == view.Owner; });
    if (found != saved.end()) view.Load(found->second.Data);
  }
}
