#pragma once
// The history of the user's changes to the composition, for undo and redo.
//
// The windows mark where each action of the user begins and ends (TZeltoAction). An action that
// changed the composition's content (a layer's fields, the stacking order, the default font, the
// canvas size) becomes one step: the composition as it was before the action and as it was
// after, each with the selection and with what the windows' editors showed. An action that
// changed only the selection is no step. Undo puts back the state before the last step, redo
// the state after the next one, the windows' editors included.
//
// States share what they have in common: each layer's fields are kept once for as long as they
// stay the same, so a state of many layers in which one changed costs a pointer a layer and one
// new copy of that layer's fields.
#include <any>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TZeltoZelto;
class TZeltoLayer;

// What a step did; consecutive steps of the kinds that run on (typing, a spinner, a drag) merge
// into one.
enum class TStepKind : uint8_t {
  Add,
  Copy,
  Delete,
  Up,
  Down,
  Select,
  RowBox,
  Text,
  LineSpan,
  CharSpan,
  Align,
  LayerFont,
  LayerColor,
  DefaultFont,
  DefaultColor,
  Width,
  Height,
  Drag,
};

// What a window shows besides the composition, saved with every state and shown again with it.
// The history keeps `Data` without looking into it; `Bytes` is the memory it takes that no
// earlier state shares.
struct TViewState {
  std::any Data;
  std::size_t Bytes = 0;
};

class TZeltoHistory {
 public:
  // The most memory the history takes; the oldest steps go first to keep within it. A step of
  // typing in 1,000 layers of 100 characters takes about 16 KiB, so thousands of them fit.
  static constexpr std::size_t kMaxBytes = std::size_t(64) << 20;

  explicit TZeltoHistory(TZeltoZelto& owner);
  ~TZeltoHistory();
  TZeltoHistory(const TZeltoHistory&) = delete;
  TZeltoHistory& operator=(const TZeltoHistory&) = delete;

  // A window's part of every state: `save` gives what the window shows, `load` shows it again
  // without running the window's change handlers. `owner` names the part.
  void AddView(const void* owner, std::function<TViewState()> save, std::function<void(const std::any&)> load);
  void RemoveView(const void* owner);

  // Neither is possible while an action runs (a picker is open, say).
  bool CanUndo() const;
  bool CanRedo() const;
  // Puts back the composition, its selection and the windows' views as they were before the
  // last step done, or after the next step undone. Returns whether there was such a step.
  bool Undo();
  bool Redo();

  // The next step starts afresh instead of running on from the last one (a new drag begins).
  void BreakMerge();

  // The steps that can be undone, and the memory the history takes.
  std::size_t UndoCount() const { return done_; }
  std::size_t Bytes() const { return bytes_; }

  // Runs whenever what can be undone or redone may have changed.
  std::function<void()> OnChange;

 private:
  friend class TZeltoAction;

  struct TLayerState;
  struct TContent;
  struct TViews;
  struct TState;
  struct TStep {
    std::shared_ptr<const TState> Before, After;
    TStepKind Kind;
  };
  struct TView {
    const void* Owner;
    std::function<TViewState()> Save;
    std::function<void(const std::any&)> Load;
  };

  void Begin();
  void End(TStepKind kind);

  // The composition as it stands, with `views` for what the windows show.
  std::shared_ptr<const TState> Capture(std::shared_ptr<const TViews> views);
  std::shared_ptr<const TContent> CaptureContent();
  std::shared_ptr<const TLayerState> CaptureLayer(const TZeltoLayer& layer, int32_t index);
  std::shared_ptr<const TViews> SaveViews();
  void Restore(const TState& state);
  void DropOldest();
  void Changed();
  // Shares `value`, counting its memory (`heapBytes` beyond the object) for as long as it lives.
  template <class T>
  std::shared_ptr<const T> Counted(T value, std::size_t heapBytes);

  TZeltoZelto& owner_;
  std::size_t bytes_ = 0;  // declared before everything it counts, so it outlives them
  std::vector<TView> views_;
  std::deque<TStep> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) can be undone, the rest redone
  bool mergeOpen_ = false;
  int depth_ = 0;
  bool restoring_ = false;
  std::shared_ptr<const TState> before_;  // of the action that runs
  // What the windows showed at the end of the last action, or of putting back a state. An action
  // begins after its control changed (a keystroke is in the memo when the memo's change handler
  // runs), so this is what they showed before it.
  std::shared_ptr<const TViews> lastViews_;
  // The last state taken and the layer objects it was taken from, so that a layer whose fields
  // stayed the same shares them.
  std::shared_ptr<const TContent> lastContent_;
  std::vector<const TZeltoLayer*> lastLayers_;
  std::unordered_map<const TZeltoLayer*, int32_t> lastIndex_;  // of lastLayers_, made when needed
};

// One action of the user, from its beginning to its end (a scope). Actions that run inside it, as
// a change handler that another one's work sets off, are part of it; the outermost one's kind
// names the step.
class TZeltoAction {
 public:
  TZeltoAction(TZeltoHistory& history, TStepKind kind) : history_(history), kind_(kind) { history_.Begin(); }
  ~TZeltoAction() { history_.End(kind_); }
  TZeltoAction(const TZeltoAction&) = delete;
  TZeltoAction& operator=(const TZeltoAction&) = delete;

 private:
  TZeltoHistory& history_;
  const TStepKind kind_;
};
