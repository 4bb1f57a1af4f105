#pragma once
// The modal colour picker: three channel sliders and a grid of the 216 colours whose channels
// are all multiples of 51.
#include "toolkit/Bitmap.h"
#include "toolkit/Canvas.h"
#include "toolkit/Colors.h"
#include "toolkit/PaintBox.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class TCellGrid;

// Shows the picker over `owner`, starting from `color` (a system colour reference is resolved
// to its current RGB value first). OK writes the chosen plain RGB value into `color` and
// returns true; Cancel, Esc and the close box leave `color` untouched and return false.
bool ShowColorPicker(QWidget* owner, TColor& color);

class TColorForm : public QDialog {
 public:
  explicit TColorForm(QWidget* owner);
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
  // Confine the pointer to a slider while it is dragged, and let it go.
  void ClipCursor(TPaintBox* slider);
  void ReleaseCursor();

  TRect CursorClip;  // the pressed slider on the screen, while Dragging
};
