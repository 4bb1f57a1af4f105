#include "toolkit/VirtualListBox.h"

#include "toolkit/Application.h"
#include "toolkit/Checked.h"

#include <QAbstractItemDelegate>
#include <QAbstractListModel>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace {
TRect ToTRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}
}  // namespace

// The rows: a count and nothing else.
class TVirtualListBox::TRows : public QAbstractListModel {
 public:
  explicit TRows(QObject* parent) : QAbstractListModel(parent) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }
  QVariant data(const QModelIndex&, int) const override { return {}; }

  int32_t Count() const { return count_; }

  void Reset(int32_t count) {
    beginResetModel();
    count_ = count;
    endResetModel();
  }

  void Remove(int32_t row) {
    beginRemoveRows(QModelIndex(), row, row);
    --count_;
    endRemoveRows();
  }

 private:
  int32_t count_ = 0;
};

// Hands each row to the list's owner to draw; nothing of the style is drawn.
class TVirtualListBox::TRowPainter : public QAbstractItemDelegate {
 public:
  explicit TRowPainter(TVirtualListBox* list) : QAbstractItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= odSelected;
    if (option.state & QStyle::State_HasFocus) state |= odFocused;
    list_->DrawItem(*painter, index.row(), option.rect, state);
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(0, list_->ItemHeight());
  }

 private:
  TVirtualListBox* list_;
};

TVirtualListBox::TVirtualListBox(int32_t itemHeight, QWidget* parent)
    : QListView(parent), itemHeight_(itemHeight), rows_(new TRows(this)) {
  setModel(rows_);
  setItemDelegate(new TRowPainter(this));
  setUniformItemSizes(true);
  setSelectionMode(ExtendedSelection);
  setEditTriggers(NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!programChange_ && OnClick) Guarded(OnClick);
  });
}

QModelIndex TVirtualListBox::Row(int32_t index) const {
  if (index < 0 || index >= Count()) throw EListError(index);
  return rows_->index(index);
}

int32_t TVirtualListBox::Count() const { return rows_->Count(); }

void TVirtualListBox::SetCount(int32_t count) {
  if (count == Count()) return;
  const QScopedValueRollback quiet(programChange_, true);
  rows_->Reset(count);
}

void TVirtualListBox::DeleteRow(int32_t index) {
  Row(index);
  const QScopedValueRollback quiet(programChange_, true);
  rows_->Remove(index);
}

bool TVirtualListBox::Selected(int32_t index) const { return selectionModel()->isSelected(Row(index)); }

void TVirtualListBox::SetSelected(int32_t index, bool value) {
  const QModelIndex row = Row(index);
  const QScopedValueRollback quiet(programChange_, true);
  selectionModel()->select(row, value ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

int32_t TVirtualListBox::SelCount() const { return static_cast<int32_t>(selectionModel()->selectedIndexes().size()); }

int32_t TVirtualListBox::ItemIndex() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TVirtualListBox::SetItemIndex(int32_t index) {
  const QModelIndex row = Row(index);
  const QScopedValueRollback quiet(programChange_, true);
  selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
}

int32_t TVirtualListBox::ItemAtPos(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return index.isValid() ? index.row() : -1;
}

TRect TVirtualListBox::ItemRect(int32_t index) const {
  if (index < 0 || index >= Count()) return {};
  return ToTRect(visualRect(rows_->index(index)));
}

void TVirtualListBox::InvalidateRect(const TRect& rect) {
  viewport()->update(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TVirtualListBox::Repaint() {
  executeDelayedItemsLayout();
  viewport()->repaint();
}

void TVirtualListBox::DrawItem(QPainter& painter, int32_t index, const QRect& rect, TOwnerDrawState state) {
  if (!OnDrawItem) return;
  painter.save();
  Guarded([&] { OnDrawItem(painter, index, ToTRect(rect), state); });
  painter.restore();
}

void TVirtualListBox::MouseEvent(const TMouseEvent& handler, QMouseEvent* event) {
  if (!handler) return;
  const QPoint at = event->position().toPoint();
  Guarded([&] { handler(event->button(), event->modifiers(), at.x(), at.y()); });
}

// Only the left button selects rows, as in a desktop list box; the handlers hear every button.
void TVirtualListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) QListView::mousePressEvent(event);
  MouseEvent(OnMouseDown, event);
}

void TVirtualListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) QListView::mouseDoubleClickEvent(event);
  MouseEvent(OnMouseDown, event);
}

void TVirtualListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) QListView::mouseReleaseEvent(event);
  MouseEvent(OnMouseUp, event);
}
