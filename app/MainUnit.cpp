#include "app/MainUnit.h"

#include "app/PictureExport.h"
#include "pickers/Misc.h"
#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/Convert.h"
#include "toolkit/UiFont.h"
#include "toolkit/UpDown.h"
#include "toolkit/WindowBounds.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TMainForm* MainForm = nullptr;

TMainForm::TMainForm() {
  setWindowTitle(QStringLiteral("MainForm"));
  setFont(UiFont().ToQFont());
  SetOuterBounds(this, QRect(302, 231, 345, 315));

  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setFixedHeight(41);
  // The size fields start at "200", their spinners stepping within 1..400.
  EditW = MakeUpDownEdit(Panel1, QRect(8, 10, 49, 21), 1, 400, 200, UdW);
  EditH = MakeUpDownEdit(Panel1, QRect(80, 10, 49, 21), 1, 400, 200, UdH);
  BtnSave = MakeButton(Panel1, 220, 8, SavePictureGlyph(), "BtnSave");
  BtnCopyPicture = MakeButton(Panel1, 246, 8, CopyPictureGlyph(), "BtnCopyPicture");
  BtnSave->setToolTip(QStringLiteral("save picture"));
  BtnCopyPicture->setToolTip(QStringLiteral("copy picture"));

  ScrollBox1 = new QScrollArea(this);
  PBox = new TPaintBox;
  PBox->resize(200, 200);
  ScrollBox1->setWidget(PBox);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(ScrollBox1, 1);

  connect(EditW, &QLineEdit::textChanged, this, Guard([this] { EditWChange(EditW); }));
  connect(EditH, &QLineEdit::textChanged, this, Guard([this] { EditWChange(EditH); }));
  connect(BtnSave, &QToolButton::clicked, this, Guard([this] { BtnSaveClick(BtnSave); }));
  connect(BtnCopyPicture, &QToolButton::clicked, this, Guard([this] { BtnCopyPictureClick(BtnCopyPicture); }));
  AddPictureKeys(this, BtnSave, BtnCopyPicture);
  PBox->OnPaint = [this] { PBoxPaint(PBox); };
  PBox->OnMouseDown = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PBoxMouseDown(PBox, button, shift, x, y);
  };
  PBox->OnMouseMove = [this](TShiftState shift, int32_t x, int32_t y) { PBoxMouseMove(PBox, shift, x, y); };
  PBox->OnMouseUp = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PBoxMouseUp(PBox, button, shift, x, y);
  };

  Guarded([this] { FormCreate(this); });
}

TMainForm::~TMainForm() {
  Guarded([this] { FormDestroy(this); });
}

void TMainForm::FormCreate(QObject*) {
  Composition = new TZeltoZelto(PBox->width(), PBox->height());
  // The paint area's surface takes on the window font only when it paints; until then it
  // holds the toolkit's default font, and that becomes the default font of the composition.
  Composition->SetDefaultFont(PBox->Canvas().Font());
  PBox->SetOpaque(true);
  MakeNumericEdit(EditW);
  MakeNumericEdit(EditH);
  Dragging = false;
}

void TMainForm::FormDestroy(QObject*) {
  delete Composition;
  Composition = nullptr;
}

void TMainForm::PBoxPaint(QObject*) { Composition->Paint(PBox->Canvas()); }

void TMainForm::EditWChange(QObject* Sender) {
  if (Sender == EditW || Sender == EditH) {
    QLineEdit* edit = static_cast<QLineEdit*>(Sender);
    // An empty, zero or too large text is replaced by the spinner's position; that change
    // runs this handler again, nested, for the new text before this run goes on.
    if (StrToIntDef(edit->text(), 0) <= 0)
      edit->setText(QString::number((edit == EditW ? UdW : UdH)->Position()));
    const int32_t value = StrToInt(edit->text());
    // The composition first: a size its bitmap cannot take leaves the canvas as it was, and
    // the paint area keeps the composition's size.
    if (edit == EditW) {
      Composition->SetWidth(value);
      PBox->resize(value, PBox->height());
    } else {
      Composition->SetHeight(value);
      PBox->resize(PBox->width(), value);
    }
  }
  RepaintCanvas();
}

void TMainForm::PBoxMouseDown(QObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  Dragging = true;
  LastX = X;
  LastY = Y;
}

void TMainForm::PBoxMouseMove(QObject*, TShiftState, int32_t X, int32_t Y) {
  if (!Dragging) return;
  DeltaX = CheckedSub(X, LastX);
  DeltaY = CheckedSub(Y, LastY);
  LastX = X;
  LastY = Y;
  MoveSelection();
}

void TMainForm::PBoxMouseUp(QObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (!Dragging) return;
  Dragging = false;
  DeltaX = CheckedSub(X, LastX);
  DeltaY = CheckedSub(Y, LastY);
  MoveSelection();
}

void TMainForm::MoveSelection() {
  if (Composition->SelectedCount() == 0) return;
  ForEachSelected(true, [this](int32_t index, TZeltoLayer& layer) { MoveProc(index, layer); });
  RepaintCanvas();
}

void TMainForm::MoveProc(int32_t, TZeltoLayer& Layer) { Layer.MoveBy(DeltaX, DeltaY); }

void TMainForm::BtnSaveClick(QObject*) { SavePicture(this); }

void TMainForm::BtnCopyPictureClick(QObject*) { CopyPicture(); }

void TMainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();
}

void RepaintCanvas() { MainForm->PBox->repaint(); }
