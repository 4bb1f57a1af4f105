#pragma once
// The main window: the canvas in a scrolling area, the canvas size fields, the drag of the
// selected layers, and the buttons that undo and redo the user's changes, export and copy the
// picture, and make, open and save the document, whose name it shows.
#include "model/Zelto.h"
#include "toolkit/PaintBox.h"

#include <QWidget>

#include <any>
#include <memory>
#include <cstdint>

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

 protected:
  // Closing the main window ends the program, once unsaved changes are saved or discarded.
  void closeEvent(QCloseEvent* event) override;
  // A document file dropped on the window opens as with Open.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // After a size the bitmap cannot take, the field shows the size in force again, without a
  // change notification: no second report, no step of the history.
  void ShowSizeInForce(QLineEdit* edit);
  // One step of a drag: every selected layer moves by (DeltaX, DeltaY), then the canvas is
  // redrawn; with nothing selected nothing happens.
  void MoveSelection();
  // The size fields as they stand, kept with every state of the history, and put back quietly
  // with the paint area's size when a state is.
  TViewState SaveView() const;
  void LoadView(const std::any& view);
  // Greys the undo and redo buttons while there is nothing to undo or redo.
  void UpdateUndoButtons();
  void ShowDocumentName();
  // The keys of the whole program that click the main window's buttons.
  void AddKeys();
};

// The main window; the program creates it first and frees it last.
extern TMainForm* MainForm;

// Redraws the canvas of MainForm at once, before returning: PBoxPaint runs straight on the
// screen area of the paint area, with nothing queued and no background erased first.
void RepaintCanvas();
