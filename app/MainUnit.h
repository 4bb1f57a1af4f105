#pragma once
// The main window: the canvas in a scrolling area, the canvas size fields, the drag and the
// nudge of the selected layers, the zoom of the view, and the buttons that undo and redo the
// user's changes, export and copy the picture, and make, open and save the document, whose name
// it shows.
#include "app/Zoom.h"
#include "model/Zelto.h"
#include "toolkit/PaintBox.h"

#include <QWidget>

#include <any>
#include <memory>
#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class TDocument;
class QScrollArea;
class QToolButton;
class TUpDown;

class TMainForm : public QWidget {
 public:
  TMainForm();
  ~TMainForm() override;

  QFrame* Panel1;
  QLineEdit* EditW;
  TUpDown* UdW;
  QLineEdit* EditH;
  TUpDown* UdH;
  QToolButton* BtnUndo;
  QToolButton* BtnRedo;
  QToolButton* BtnSave;
  QToolButton* BtnCopyPicture;
  QToolButton* BtnNew;
  QToolButton* BtnOpen;
  QToolButton* BtnSaveDocument;
  QToolButton* BtnSaveAs;
  QLabel* LblDocument;  // the document's name, marked while it has unsaved changes
  QLabel* LblZoom;
  QScrollArea* ScrollBox1;
  TPaintBox* PBox;

  // The document the composition is kept in.
  std::unique_ptr<TDocument> Document;

  bool Dragging = false;
  int32_t LastX = 0;
  int32_t LastY = 0;
  int32_t DeltaX = 0;
  int32_t DeltaY = 0;

  void FormCreate(QObject* Sender);
  void FormDestroy(QObject* Sender);
  void PBoxPaint(QObject* Sender);
  void EditWChange(QObject* Sender);
  void PBoxMouseDown(QObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void PBoxMouseMove(QObject* Sender, TShiftState Shift, int32_t X, int32_t Y);
  void PBoxMouseUp(QObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  // Picks the top-most visible layer drawn at (X, Y) through OnPickLayer; Ctrl toggles its mark.
  void PBoxDblClick(QObject* Sender, TShiftState Shift, int32_t X, int32_t Y);
  void MoveProc(int32_t Index, TZeltoLayer& Layer);
  void BtnUndoClick(QObject* Sender);
  void BtnRedoClick(QObject* Sender);
  // Export the picture as an image file, copy it to the clipboard; Ctrl+E and Ctrl+Shift+C (or
  // Ctrl+C outside text fields) click them from either window.
  void BtnSaveClick(QObject* Sender);
  void BtnCopyPictureClick(QObject* Sender);
  // The document: Ctrl+N, Ctrl+O, Ctrl+S and Ctrl+Shift+S click them from either window.
  void BtnNewClick(QObject* Sender);
  void BtnOpenClick(QObject* Sender);
  void BtnSaveDocumentClick(QObject* Sender);
  void BtnSaveAsClick(QObject* Sender);

  // The zoom of the view, which is no part of the composition: the paint area is the canvas
  // times the zoom, and pointer positions on it are converted to canvas pixels for the handlers.
  // SetZoom keeps the canvas point under `anchor` (a point of the scrolling area's viewport) in
  // its place, and redraws.
  TZoom Zoom() const { return zoom_; }
  void SetZoom(TZoom zoom, QPoint anchor);
  // The middle of the scrolling area's viewport, where the keys zoom.
  QPoint ViewCentre() const;

  // Marks row `index` of the layer list alone, or toggles its mark, and syncs the selection. The
  // layer panel sets it: it comes after the main window in the libraries' chain, so the main
  // window cannot call it.
  std::function<void(int32_t index, bool toggle)> OnPickLayer;

 protected:
  // Closing the main window ends the program, once unsaved changes are saved or discarded.
  void closeEvent(QCloseEvent* event) override;
  // A document file dropped on the window opens as with Open.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The canvas area's own keys and wheel: the arrows nudge the selected layers instead of
  // scrolling, and Ctrl+wheel zooms.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // After a size the bitmap cannot take, the field shows the size in force again, without a
  // change notification: no second report, no step of the history.
  void ShowSizeInForce(QLineEdit* edit);
  // One step of a drag: every selected layer moves by (DeltaX, DeltaY), then the canvas is
  // redrawn; with nothing selected nothing happens.
  void MoveSelection();
  // One press of an arrow key in the canvas area: a drag step of (dx, dy) of its own kind.
  void NudgeSelection(int32_t dx, int32_t dy);
  // Ctrl+plus, Ctrl+minus, Ctrl+0 and Ctrl+9, in both windows.
  void AddZoomKeys();
  // A turn of the wheel by `delta` (eighths of a degree) at `anchor` of the viewport.
  void WheelZoom(int delta, QPoint anchor);
  // The paint area's size: the canvas's times the zoom.
  void SizePaintArea();
  // The size fields as they stand, kept with every state of the history, and put back quietly
  // with the paint area's size when a state is.
  TViewState SaveView() const;
  void LoadView(const std::any& view);
  // Greys the undo and redo buttons while there is nothing to undo or redo.
  void UpdateUndoButtons();
  void ShowDocumentName();
  // The keys of the whole program that click the main window's buttons.
  void AddKeys();

  TZoom zoom_;
  // The part of a wheel notch that has not zoomed yet, from wheels that turn in finer steps.
  int wheelRest_ = 0;
};

// The main window; the program creates it first and frees it last.
extern TMainForm* MainForm;

// Redraws the canvas of MainForm at once, before returning: PBoxPaint runs straight on the
// screen area of the paint area, with nothing queued and no background erased first.
void RepaintCanvas();
