#pragma once
// An up-down spinner attached to an edit field.
//
// The edit stays a plain QLineEdit that holds free text; the spinner keeps a signed 16-bit
// position within its range. Reading the position takes the number in the edit whenever the
// edit holds a whole number within the range, and otherwise yields the previous position.
// Every change of the position writes it into the edit with setText, so the edit's
// textChanged notification, to which the windows bind their change handlers, fires for the
// spinner's changes as it does for typing. The arrow buttons and the Up and Down keys in the
// edit step the position by one, wrapping around at the ends where Wrap is set.
#include <QWidget>

#include <cstdint>

class QLineEdit;
class QRect;
class QString;
class QToolButton;

class TUpDown : public QWidget {
 public:
  // The spinner's width beside its edit.
  static constexpr int kWidth = 16;

  explicit TUpDown(QWidget* parent = nullptr);

  // Attaches the spinner to the right edge of `edit` (in the same parent, as high as the
  // edit) and writes the position into it.
  void SetAssociate(QLineEdit* edit);
  QLineEdit* Associate() const { return associate_; }

  // Also brings the position into the new range.
  void SetRange(int16_t min, int16_t max);
  int16_t Min() const { return min_; }
  int16_t Max() const { return max_; }

  bool Wrap = false;

  int16_t Position();
  // Throws ERangeError for a value outside the 16-bit range; a value outside Min..Max becomes
  // the nearer end. When the result differs from Position() it is written into the edit.
  void SetPosition(int value);

  // Puts back an edit text and a position taken earlier, as they were, without a change
  // notification: the edit's change handler does not run, and a free text keeps the position.
  void Restore(const QString& text, int16_t position);

  // One step up (+1) or down (-1), as a click on an arrow.
  void Step(int delta);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FollowEdit();

  QLineEdit* associate_ = nullptr;
  QToolButton* up_;
  QToolButton* down_;
  int16_t min_ = 0;
  int16_t max_ = 100;
  int16_t position_ = 0;
};

// An edit field at `geometry` in `parent`, its input method off, with a spinner of min..max at
// `position` attached to its right edge and handed back through `spinner`.
QLineEdit* MakeUpDownEdit(QWidget* parent, const QRect& geometry, int16_t min, int16_t max, int16_t position,
                          TUpDown*& spinner);
