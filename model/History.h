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
// Steps of the kinds that a user makes in runs merge with the step before them while it is of
// the same kind and nothing else came between: a run of typing into the same selection, of one
// spinner, of one size field, of one drag, of nudges. One undo then takes back what the user
// sees as one edit. Button clicks (an alignment, say) never merge: each is a decision of its own.
//
// States share what they have in common: each layer's fields are kept once for as long as they
// stay the same, so a state of many layers in which one changed costs a pointer a layer and one
// new copy of that layer's fields.
//
// The history's memory is bounded: the oldest steps go first, but the newest step is always kept,
// however large, so that the last change can always be undone. What counts is what the history
// adds to the composition as it stands: the copy of the current state it keeps to see the next
// change is no more than the composition itself.
//
// The history also knows which content was last saved, so that the program can tell whether the
// composition has unsaved changes: undoing back to the saved content makes it saved again.
#include <any>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

class TZeltoZelto;
class TZeltoLayer;
struct TZeltoContent;
struct TZeltoLayerFields;

// What a step did; see the header's comment for which kinds merge.
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
  Nudge,
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
  // The most memory the history adds to the composition; the oldest steps go first to keep
  // within it. A step of typing in 1,000 layers of 100 characters takes about 16 KiB, so
  // thousands of them fit.
  static constexpr std::size_t kMaxBytes = std::size_t(64) << 20;

  explicit TZeltoHistory(TZeltoZelto& owner);
  ~TZeltoHistory();
  TZeltoHistory(const TZeltoHistory&) = delete;
  TZeltoHistory& operator=(const TZeltoHistory&) = delete;

  // A window's part of every state: `save` gives what the window shows, `load` shows it again
  // without running the window's change handlers. `load` is given no value (an empty any) when
  // the composition was replaced as a whole (a document opened): the window then shows the
  // composition as it stands. `owner` names the part.
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

  // Makes the composition `content` with `selection` (layer indexes in the order of selecting),
  // forgets every step and has the windows show it afresh, as at the program's start. Raises an
  // error and changes nothing when the canvas size cannot be made.
  void Start(const TZeltoContent& content, std::span<const int32_t> selection);

  // The composition's content as it stands, shared with the history's own copy.
  std::shared_ptr<const TZeltoContent> Content();
  // The content as it stands is the one last saved; Modified() is false until it changes.
  void MarkSaved();
  // No content is the one last saved: the composition came back from a recovery copy.
  void MarkUnsaved();
  bool Modified();

  // The steps that can be undone, and the memory the history adds to the composition.
  std::size_t UndoCount() const { return done_; }
  std::size_t Bytes() const;

  // Runs whenever what can be undone or redone, or whether there are unsaved changes, may have
  // changed.
  std::function<void()> OnChange;
  // Receives an error that recording a step raised (memory ran out, say). The action's change
  // stays in the composition without a step of its own; the next step records from there.
  std::function<void(const std::exception& error)> OnError;

 private:
  friend class TZeltoAction;

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

  // Neither raises: they run where an action's scope begins and ends, the end also while an error
  // leaves the handler. What recording fails of goes to OnError.
  void Begin() noexcept;
  void End(TStepKind kind) noexcept;
  void Fail(const std::exception& error) noexcept;
  void Record(TStepKind kind);
  // Forgets what the history took of the composition as it stood, after a failure left it
  // uncertain; the next capture takes it afresh.
  void Forget();

  // The composition as it stands, with `views` for what the windows show.
  std::shared_ptr<const TState> Capture(std::shared_ptr<const TViews> views);
  std::shared_ptr<const TZeltoContent> CaptureContent();
  std::shared_ptr<const TZeltoLayerFields> CaptureLayer(const TZeltoLayer& layer, int32_t index);
  std::shared_ptr<const TViews> SaveViews();
  void Restore(const TState& state);
  void LoadViews(const TViews* views);
  void DropOldest();
  void Changed();
  // The memory of the state the composition stands in, which the bound does not count, and what
  // the history holds beyond it.
  std::size_t CurrentBytes() const;
  std::size_t AddedBytes(std::size_t current) const;
  // Shares `value`, counting `size` bytes for it for as long as it lives.
  template <class T>
  std::shared_ptr<const T> Counted(T value, std::size_t size);

  TZeltoZelto& owner_;
  // Declared before everything it counts, so it outlives them. Atomic, since a recovery copy
  // may let go of shared layer fields on another thread.
  std::atomic<std::size_t> bytes_ = 0;
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
  std::shared_ptr<const TZeltoContent> lastContent_;
  std::vector<const TZeltoLayer*> lastLayers_;
  std::unordered_map<const TZeltoLayer*, int32_t> lastIndex_;  // of lastLayers_, made when needed
  std::shared_ptr<const TZeltoContent> savedContent_;
};

// One action of the user, from its beginning to its end (a scope). Actions that run inside it, as
// a change handler that another one's work sets off, are part of it; the outermost one's kind
// names the step. A handler that fails halfway still ends its action: what it changed before the
// error is one step, which undo takes back.
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
