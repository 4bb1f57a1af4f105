#pragma once
// The layer panel: the tool window beside the main window. Its list shows the layers in their
// stacking order and holds the selection; its buttons add, copy, delete and reorder layers; its
// editors change the text, spacing, anchor, font and colour of the selected layers and the
// composition's default font and colour.
#include "model/Zelto.h"
#include "toolkit/VirtualListBox.h"
#include "toolkit/Canvas.h"
#include "toolkit/Font.h"

#include <QString>
#include <QWidget>

#include <any>
#include <cstdint>
#include <memory>
#include <string>

class QFrame;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolButton;
class TUpDown;

class TLayerForm : public QWidget {
 public:
  TLayerForm();
  ~TLayerForm() override;

  QFrame* Panel1;
  QToolButton* BtnAdd;
  QToolButton* BtnDel;
  QToolButton* BtnCopy;
  QSplitter* Splitter1;
  TVirtualListBox* LBox;
  QPlainTextEdit* MemText;
  QFrame* Panel2;
  QToolButton* BtnUp;
  QToolButton* BtnDown;
  QToolButton* BtnFont;
  QToolButton* BtnColor;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QLineEdit* EditLineSpan;
  TUpDown* UdLineSpan;
  QLineEdit* EditCharSpan;
  TUpDown* UdCharSpan;
  // The alignment buttons carry their anchor (0..8) in the property "Tag".
  QToolButton* BtnLT;
  QToolButton* BtnCT;
  QToolButton* BtnRT;
  QToolButton* BtnLC;
  QToolButton* BtnCC;
  QToolButton* BtnRC;
  QToolButton* BtnLB;
  QToolButton* BtnCB;
  QToolButton* BtnRB;

  // Handed to and from the per-layer callbacks: the last copy's index, the last deleted index,
  // an anchor, a colour or a span.
  int32_t WorkValue = 0;
  // Handed to and from the font picker.
  std::unique_ptr<TFont> WorkFont;

  void FormCreate(QObject* Sender);
  void FormDestroy(QObject* Sender);
  // Shows the panel again, as it was, after its close box hid it (Ctrl+L in either window).
  void ShowPanel();

  // The layer list.
  void LBoxDrawItem(QPainter& Canvas, int32_t Index, const TRect& Rect, TOwnerDrawState State);
  void LBoxMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int32_t X, int32_t Y);
  void LBoxMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int32_t X, int32_t Y);
  void LBoxClick(QObject* Sender);
  // A layer picked on the canvas (TMainForm::OnPickLayer): its row becomes the only marked one,
  // or with `Toggle` its mark toggles, and it becomes the current one, as a click or a Ctrl+click
  // on the row does; then the selection follows the marks.
  void PickLayer(int32_t Index, bool Toggle);
  void SyncSelection();
  void UpdateCount();
  void BtnAddClick(QObject* Sender);
  void BtnCopyClick(QObject* Sender);
  void BtnDelClick(QObject* Sender);
  void BtnUpClick(QObject* Sender);
  void BtnDownClick(QObject* Sender);
  void CopyProc(int32_t Index, TZeltoLayer& Layer);
  void DeleteProc(int32_t Index, TZeltoLayer& Layer);
  void UpProc(int32_t Index, TZeltoLayer& Layer);
  void DownProc(int32_t Index, TZeltoLayer& Layer);

  // The property editors.
  void MemTextChange(QObject* Sender);
  void EditLineSpanChange(QObject* Sender);
  void BtnLTClick(QObject* Sender);
  void BtnFontClick(QObject* Sender);
  void BtnColorClick(QObject* Sender);
  void BitBtn1Click(QObject* Sender);
  void BitBtn2Click(QObject* Sender);
  void TextProc(int32_t Index, TZeltoLayer& Layer);
  void LineSpanProc(int32_t Index, TZeltoLayer& Layer);
  void CharSpanProc(int32_t Index, TZeltoLayer& Layer);
  void AlignProc(int32_t Index, TZeltoLayer& Layer);
  void FontProc(int32_t Index, TZeltoLayer& Layer);
  void ColorProc(int32_t Index, TZeltoLayer& Layer);

 private:
  // Row `row` becomes marked and the list's current row.
  void MarkRow(int32_t row);
  // What the list and the editors show, kept with every state of the history, and put back
  // quietly, with the list's rows and marks as the composition has them, when a state is.
  TViewState SaveView();
  void LoadView(const std::any& view);

  // The memo's text as last kept with a state, which the next states share while it stays.
  QString keptMemo_;
  // The memo's text in the layers' form while MemTextChange hands it to TextProc.
  std::string memoText_;
};

// The layer panel; the program creates it after the main window and frees it first.
extern TLayerForm* LayerForm;

// Which row check box is held down, and the row of the last press that landed on a box.
enum TPressKind : uint8_t { pkNone = 0, pkVisibility = 1, pkDefaultFont = 2 };
extern TPressKind PressKind;
extern int32_t PressIndex;

// Redraws the whole layer list of LayerForm at once, before returning.
void RepaintLayerList();
