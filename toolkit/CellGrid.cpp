#include "toolkit/CellGrid.h"

#include "toolkit/Application.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

TCellGrid::TCellGrid(int32_t columns, int32_t rows, int32_t cellSize, QWidget* parent)
    : QTableWidget(rows, columns, parent), canvas_(viewport()) {
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->hide();
    header->setMinimumSectionSize(0);
    header->setDefaultSectionSize(cellSize);
    header->setSectionResizeMode(QHeaderView::Fixed);
  }
  setShowGrid(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(SingleSelection);
  setTabKeyNavigation(false);
  setCurrentCell(0, 0);
}

void TCellGrid::paintEvent(QPaintEvent* event) {
  if (OnDrawCell)
    for (int32_t row = 0; row < rowCount(); ++row)
      for (int32_t col = 0; col < columnCount(); ++col) {
        const QModelIndex index = model()->index(row, col);
        const QRect cell = visualRect(index);
        if (!cell.intersects(event->rect())) continue;
        const TRect rect{cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()};
        Guarded([&] { OnDrawCell(col, row, rect, index == currentIndex()); });
      }
  canvas_.Release();
}

void TCellGrid::mousePressEvent(QMouseEvent* event) {
  // Only the left button chooses cells.
  if (event->button() != Qt::LeftButton) return;
  leftPressed_ = true;
  QTableWidget::mousePressEvent(event);
}

void TCellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click chooses like the first.
  if (event->button() != Qt::LeftButton) return;
  leftPressed_ = true;
  QTableWidget::mouseDoubleClickEvent(event);
}

void TCellGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !leftPressed_) return;
  leftPressed_ = false;
  if (OnClick) Guarded(OnClick);
}

void TCellGrid::keyPressEvent(QKeyEvent* event) {
  const QModelIndex before = currentIndex();
  QTableWidget::keyPressEvent(event);
  if (currentIndex() != before && OnClick) Guarded(OnClick);
}
