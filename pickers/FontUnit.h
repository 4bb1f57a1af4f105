#pragma once
// The modal font picker: face, point size, the four styles and the colour of one font, with a
// preview of a sample text in it.
#include "pickers/Misc.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Font.h"
#include "toolkit/PaintBox.h"

#include <QDialog>
#include <QString>

class QFrame;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QTabWidget;
class QToolButton;
class TUpDown;

class TFontForm : public QDialog {
 public:
  explicit TFontForm(QWidget* owner);

  QFrame* Panel1;
  TPaintBox* PBox;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QFrame* Panel2;
  QToolButton* SbBold;
  QToolButton* SbItalic;
  QToolButton* SbUnderLine;
  QToolButton* SbStrikeOut;
  QToolButton* BtnColor;
  QLineEdit* EdtSize;
  TUpDown* UdSize;
  QListWidget* LBox;
  QPushButton* BtnSet;
  QPushButton* BitBtn1;

  // The families of the list in its order, each with its character set number.
  TFontNames FontNames;
  // As large as PBox; the font of its surface is the font being edited.
  TBitmap PreviewBitmap;
  QString SampleText;

  TFont& WorkingFont() { return PreviewBitmap.Canvas().Font(); }

  void FormCreate(QObject* Sender);
  void FormShow(QObject* Sender);
  void FillFontList();
  void LoadFont(const TFont& Font);
  void LBoxDrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected, bool Focused);
  void LBoxClick(QObject* Sender);
  void SbBoldClick(QObject* Sender);
  void EdtSizeChange(QObject* Sender);
  void BtnColorClick(QObject* Sender);
  void RenderPreview();
  void PBoxPaint(QObject* Sender);
  void WMFontChange();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Selects the list's row `row` (none when negative) without running LBoxClick, which
  // follows only the user's choices.
  void SelectRow(int row);
};

// Edits `font` in a TFontForm placed with its left edge at the right edge of `owner` and the
// tops level. OK copies the edited font into `font` and returns true; Cancel, Esc and the close
// box leave `font` untouched and return false.
bool ShowFontPicker(QWidget* owner, TFont& font);
