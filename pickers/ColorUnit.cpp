#include "pickers/ColorUnit.h"

#include "app/MainUnit.h"
#include "pickers/ButtonPictures.h"
#include "pickers/Misc.h"
#include "toolkit/Application.h"
#include "toolkit/CellGrid.h"
#include "toolkit/Checked.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/PictureButton.h"
#include "toolkit/ShowModal.h"
#include "toolkit/UiFont.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

bool ShowColorPicker(QWidget* owner, TColor& color) {
  // Freed on every way out, an error passing through included.
  TColorForm form(owner);
  form.SelectedColor = ColorToRGB(color);
  if (ShowModal(form) != mrOk) return false;
  color = form.SelectedColor;
  return true;
}

TColorForm::TColorForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("ColorForm"));
  setFont(UiFont().ToQFont());
  setFixedSize(272, 154);
  move(409, 0);

  PbR = MakeSlider(0, 8);
  PbG = MakeSlider(1, 24);
  PbB = MakeSlider(2, 40);

  SG = new TCellGrid(36, 6, 7, this);
  SG->setObjectName(QStringLiteral("SG"));
  SG->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);  // 2 pixels, leaving 252 × 42 inside
  SG->setGeometry(8, 64, 256, 46);
  SG->OnDrawCell = [this](int32_t ACol, int32_t ARow, const TRect& Rect, bool Current) {
    SGDrawCell(SG, ACol, ARow, Rect, Current);
  };
  SG->OnClick = [this] { SGClick(SG); };

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, 154 - 34, 272, 34);

  PnlInfo = new QLabel(QStringLiteral("[Color] R:XXX G:XXX B:XXX"), Panel1);
  PnlInfo->setObjectName(QStringLiteral("PnlInfo"));
  PnlInfo->setGeometry(0, 0, 185, 34);
  PnlInfo->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PnlInfo->setAlignment(Qt::AlignCenter);
  PnlInfo->setAutoFillBackground(true);

  BitBtn1 = MakeButton<QPushButton>(Panel1, QRect(189, 4, 38, 26), OkGlyph(), "BitBtn1");
  BitBtn1->setAccessibleName(QStringLiteral("OK"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });

  BitBtn2 = MakeButton<QPushButton>(Panel1, QRect(230, 4, 38, 26), CancelGlyph(), "BitBtn2");
  BitBtn2->setAccessibleName(QStringLiteral("Cancel"));
  connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });

  Guarded([this] { FormCreate(this); });
}

TColorForm::~TColorForm() {
  Guarded([this] { FormDestroy(this); });
}

TPaintBox* TColorForm::MakeSlider(int32_t tag, int32_t top) {
  auto* slider = new TPaintBox(this);
  static const char* const names[] = {"PbR", "PbG", "PbB"};
  slider->setObjectName(QString::fromLatin1(names[tag]));
  slider->setProperty("Tag", tag);
  slider->setGeometry(8, top, 256, 12);
  slider->OnPaint = [this, slider] { PbRPaint(slider); };
  slider->OnMouseDown = [this, slider](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PbRMouseDown(slider, button, shift, x, y);
  };
  slider->OnMouseMove = [this, slider](TShiftState shift, int32_t x, int32_t y) {
    PbRMouseMove(slider, shift, x, y);
  };
  slider->OnMouseUp = [this, slider](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PbRMouseUp(slider, button, shift, x, y);
  };
  return slider;
}

void TColorForm::FormCreate(QObject*) {
  // Under the main window, whichever window asked for the picker.
  move(x(), CheckedAdd(MainForm->y(), MainForm->frameGeometry().height()));
  GradientBitmap = std::make_unique<TBitmap>();
  BuildGradientBitmap(*GradientBitmap);
  Dragging = false;
  Rgb = {0, 0, 0};
  for (TPaintBox* slider : {PbR, PbG, PbB}) {
    slider->SetOpaque(true);
    slider->Canvas().Pen.Color = clWhite;  // the marker's colour
  }
  FillPaletteGrid(*SG);
}

void TColorForm::FormDestroy(QObject*) { GradientBitmap.reset(); }

void TColorForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window the desktop shows again (after minimising) is not shown anew.
  if (!event->spontaneous()) Guarded([this] { FormShow(this); });
}

void TColorForm::FormShow(QObject*) {
  Rgb = {GetRValue(SelectedColor), GetGValue(SelectedColor), GetBValue(SelectedColor)};
}

void TColorForm::done(int result) {
  Guarded([this] { FormCloseQuery(this); });
  // Enter or Esc with the mouse button still held on a slider.
  ReleaseCursor();
  Dragging = false;
  QDialog::done(result);
}

void TColorForm::reject() { done(mrCancel); }

// Every attempt to close succeeds.
void TColorForm::FormCloseQuery(QObject*) { SelectedColor = RGBToColor(Rgb[0], Rgb[1], Rgb[2]); }

void TColorForm::PbRPaint(QObject* Sender) {
  auto* slider = static_cast<TPaintBox*>(Sender);
  const int32_t k = slider->property("Tag").toInt();
  TCanvas& canvas = slider->Canvas();
  // Row k of the ramps, one pixel high, stretched down the slider: column x shows the value x.
  canvas.StretchDraw({0, 0, slider->width(), slider->height()}, GradientBitmap->Image(),
                     {0, k, slider->width(), k + 1});
  DrawSliderMarker(canvas, Rgb[k], 6);
  UpdateInfo();
}

// The platform's cursor confinement holds the pointer inside a screen rectangle. Here the
// pressed slider grabs the mouse instead, and PbRMouseMove takes a pointer outside the
// rectangle at the nearest point inside it, as if the cursor had stopped at the rectangle's
// edge: left of the slider counts as 0, right of it as 255, and a channel never leaves 0..255.
void TColorForm::ClipCursor(TPaintBox* slider) {
  CursorClip = GetControlScreenRect(*slider);
  slider->grabMouse();
}

void TColorForm::ReleaseCursor() {
  if (QWidget* grabber = QWidget::mouseGrabber(); grabber && isAncestorOf(grabber)) grabber->releaseMouse();
}

void TColorForm::PbRMouseDown(QObject* Sender, TMouseButton, TShiftState Shift, int32_t X, int32_t Y) {
  ClipCursor(static_cast<TPaintBox*>(Sender));
  Dragging = true;
  PbRMouseMove(Sender, Shift, X, Y);
}

void TColorForm::PbRMouseMove(QObject* Sender, TShiftState, int32_t X, int32_t Y) {
  if (!Dragging) return;
  auto* slider = static_cast<TPaintBox*>(Sender);
  const QPoint screen = slider->mapToGlobal(QPoint(X, Y));
  const int32_t confined = std::clamp(screen.x(), CursorClip.Left, CheckedSub(CursorClip.Right, 1));
  Rgb[slider->property("Tag").toInt()] = RangeToByte(CheckedSub(confined, CursorClip.Left));
  slider->repaint();
}

void TColorForm::PbRMouseUp(QObject*, TMouseButton, TShiftState, int32_t, int32_t) {
  Dragging = false;
  ReleaseCursor();
}

void TColorForm::SGDrawCell(QObject*, int32_t ACol, int32_t ARow, const TRect& Rect, bool Current) {
  TCanvas& canvas = SG->Canvas();
  canvas.Brush.Color = StrToInt(SG->item(ARow, ACol)->text());
  canvas.FillRect(Rect);
  if (Current) {
    canvas.Brush.Color = clBlack;
    canvas.FrameRect(Rect);
  }
}

void TColorForm::SGClick(QObject*) {
  const TColor c = StrToInt(SG->currentItem()->text());
  Rgb = {GetRValue(c), GetGValue(c), GetBValue(c)};
  PbR->repaint();
  PbG->repaint();
  PbB->repaint();
}

void TColorForm::UpdateInfo() {
  const TColor c = RGBToColor(Rgb[0], Rgb[1], Rgb[2]);
  QPalette palette = PnlInfo->palette();
  palette.setColor(QPalette::Window, ToQColor(c));
  PnlInfo->setPalette(palette);
  PnlInfo->setText(QString::asprintf("[Color] R:%3.3d G:%3.3d B:%3.3d", Rgb[0], Rgb[1], Rgb[2]));
}
