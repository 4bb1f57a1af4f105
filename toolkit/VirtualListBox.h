#pragma once
// A virtual owner-drawn list box. It holds no items: only a row count, the rows' marks and the
// current row, and it has its owner draw each row, from the owner's own data, whenever the row
// is shown. All rows have one fixed height. Marks follow the extended rules: a click marks one
// row, Ctrl+click toggles a row, Shift+click marks a range, and the keys do the same.
//
// What happens to the marks when rows come and go: a change of the row count (SetCount)
// clears every mark and the current row, as a list that is filled anew; DeleteRow takes out
// one row, and the rows below it move up one place together with their marks.
#include "toolkit/Canvas.h"

#include <QListView>

#include <cstdint>
#include <functional>

class QPainter;

enum TOwnerDrawFlag : uint8_t {
  odSelected = 1,  // the row is marked
  odFocused = 2,   // the row is the current one and the list has the keyboard focus
};
using TOwnerDrawState = uint8_t;

class TVirtualListBox : public QListView {
 public:
  // Draws row `index` into `rect` (viewport pixels) with `canvas`, which is saved before and
  // restored after. The row has drawn nothing of its own: the handler covers every pixel.
  using TDrawItemEvent =
      std::function<void(QPainter& canvas, int32_t index, const TRect& rect, TOwnerDrawState state)>;
  // A button pressed or released over the rows, at viewport pixels (x, y).
  using TMouseEvent =
      std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y)>;

  TVirtualListBox(int32_t itemHeight, QWidget* parent = nullptr);

  int32_t ItemHeight() const { return itemHeight_; }

  int32_t Count() const;
  // Clears the marks when `count` differs from Count(); nothing happens otherwise.
  void SetCount(int32_t count);
  // Takes out row `index`; the marks of the other rows stay with them.
  void DeleteRow(int32_t index);

  // Row indexes outside 0..Count() - 1 raise EListError.
  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool value);
  int32_t SelCount() const;
  // The current row (the one the keys move from), or -1.
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);

  // The row at viewport point `pos`, or -1 where there is none.
  int32_t ItemAtPos(const QPoint& pos) const;
  // The rectangle of row `index` in viewport pixels; an empty one for a row that does not exist.
  TRect ItemRect(int32_t index) const;
  // Has `rect` of the viewport drawn again, later, with its background erased first.
  void InvalidateRect(const TRect& rect);
  // Draws every shown row again at once, before returning; also just after a change of rows,
  // whose layout the list would otherwise leave for later.
  void Repaint();

  TDrawItemEvent OnDrawItem;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  // The user changed the marks with the mouse or the keys; changes made by the program through
  // the operations above are not reported.
  std::function<void()> OnClick;

 protected:
  // The list's own handling of the buttons runs first, then OnMouseDown and OnMouseUp.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Typing does not look for a row by its text: the rows have none.
  void keyboardSearch(const QString&) override {}

 private:
  class TRows;
  class TRowPainter;

  void DrawItem(QPainter& painter, int32_t index, const QRect& rect, TOwnerDrawState state);
  QModelIndex Row(int32_t index) const;  // checked
  void MouseEvent(const TMouseEvent& handler, QMouseEvent* event);

  const int32_t itemHeight_;
  TRows* rows_;
  bool programChange_ = false;  // while set, mark changes come from the program
};
