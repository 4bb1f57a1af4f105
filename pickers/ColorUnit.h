#pragma once
// The modal colour picker: three channel sliders and a grid of the 216 colours whose channels
// are all multiples of 51.
#include "toolkit/Bitmap.h"
#include "toolkit/Canvas.h"
#include "toolkit/Colors.h"
#include "toolkit/PaintBox.h"

#include <QDialog>
#include <QTableWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

// Shows the picker over `owner`, starting from `color` (a system colour reference is resolved
// to its current RGB value first). OK writes the chosen plain RGB value into `color` and
// returns true; Cancel, Esc and the close box leave `color` untouched and return false.
bool ShowColorPicker(QWidget* owner, TColor& color);

// A grid of text cells that only its owner draws, cell by cell, in OnDrawCell: no lines,
// headers or scroll bars, no editing, one current cell, (0, 0) at first. OnClick reports the
// choice of the current cell: when the left button pressed in the grid is released (the cell
// last under the pointer while it was held is then current, changed or not), and on each move
// of the current cell by the keyboard.
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

class TColorForm : public QDialog {
 public:
  // Builds the dialog and runs FormCreate.
  explicit TColorForm(QWidget* owner);
  // Runs FormDestroy.
  ~TColorForm() override;

  TPaintBox* PbR;
  TPaintBox* PbG;
  TPaintBox* PbB;
  TCellGrid* SG;
  QWidget* Panel1;
  QLabel* PnlInfo;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;

  std::unique_ptr<TBitmap> GradientBitmap;  // row k: the ramp of channel k
  std::array<uint8_t, 3> Rgb{};              // the current channels: red, green, blue
  bool Dragging = false;                     // from a press on a slider until the release
  // The starting colour (plain RGB) while the dialog opens, the chosen one once it has closed.
  TColor SelectedColor = 0;

  // Every way of closing ends here: FormCloseQuery runs, and a slider drag still in progress
  // gives up the mouse.
  void done(int result) override;
  // Esc and the close box close as Cancel does.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate(QObject* Sender);
  void FormDestroy(QObject* Sender);
  void FormShow(QObject* Sender);
  void FormCloseQuery(QObject* Sender);
  // The three sliders share these and tell themselves apart by their "Tag" property, the
  // channel index: 0 red, 1 green, 2 blue.
  void PbRPaint(QObject* Sender);
  void PbRMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void PbRMouseMove(QObject* Sender, TShiftState Shift, int32_t X, int32_t Y);
  void PbRMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void SGDrawCell(QObject* Sender, int32_t ACol, int32_t ARow, const TRect& Rect, bool Current);
  void SGClick(QObject* Sender);
  void UpdateInfo();

  TPaintBox* MakeSlider(int32_t tag, int32_t top);
  // Stand-in for confining the cursor to a screen rectangle (see ClipCursor in the source).
  void ClipCursor(TPaintBox* slider);
  void ReleaseCursor();

  TRect CursorClip;  // the pressed slider on the screen, while Dragging
};
