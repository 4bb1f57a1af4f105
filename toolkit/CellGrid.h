#pragma once
// An owner-drawn cell grid: a grid of text cells that only its owner draws, cell by cell, in
// OnDrawCell: no lines, headers or scroll bars, no editing, one current cell, (0, 0) at first.
// OnClick reports the choice of the current cell: when the left button pressed in the grid is
// released (the cell last under the pointer while it was held is then current, changed or
// not), and on each move of the current cell by the keyboard.
#include "toolkit/Canvas.h"

#include <QTableWidget>

#include <cstdint>
#include <functional>

class TCellGrid : public QTableWidget {
 public:
  using TDrawCellEvent = std::function<void(int32_t ACol, int32_t ARow, const TRect& Rect, bool Current)>;

  TCellGrid(int32_t columns, int32_t rows, int32_t cellSize, QWidget* parent);

  // The drawing surface on the cells; it draws only while OnDrawCell runs.
  TCanvas& Canvas() { return canvas_; }

  TDrawCellEvent OnDrawCell;
  std::function<void()> OnClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Typing does not jump to a cell by its text.
  void keyboardSearch(const QString&) override {}

 private:
  TCanvas canvas_;
  bool leftPressed_ = false;
};
