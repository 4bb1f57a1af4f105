#include "app/MainUnit.h"

#include "app/Document.h"
#include "app/PictureExport.h"
#include "pickers/ButtonPictures.h"
#include "pickers/Misc.h"
#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/Convert.h"
#include "toolkit/PictureButton.h"
#include "toolkit/UiFont.h"
#include "toolkit/UndoKeys.h"
#include "toolkit/UpDown.h"
#include "toolkit/WindowBounds.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <optional>
#include <utility>

TMainForm* MainForm = nullptr;

namespace {
// What the size fields show: the edits' texts and the spinners' positions, which differ from the
// texts while a text is out of the spinners' range.
struct TSizeFields {
  QString Width;
  int16_t WidthPosition;
  QString Height;
  int16_t HeightPosition;
};

// How far an arrow key in the canvas area moves the selected layers: a canvas pixel, ten with
// Shift. With other modifiers the key keeps its own meaning.
std::optional<QPoint> NudgeStep(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) return std::nullopt;
  const int d = modifiers == Qt::ShiftModifier ? 10 : 1;
  switch (key.key()) {
    case Qt::Key_Left: return QPoint(-d, 0);
    case Qt::Key_Right: return QPoint(d, 0);
    case Qt::Key_Up: return QPoint(0, -d);
    case Qt::Key_Down: return QPoint(0, d);
    default: return std::nullopt;
  }
}

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;
}  // namespace

TMainForm::TMainForm() {
  setWindowTitle(QStringLiteral("MainForm"));
  setFont(UiFont().ToQFont());
  SetOuterBounds(this, QRect(302, 231, 345, 315));

  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setFixedHeight(41);
  // The size fields start at "200", their spinners stepping within 1..400; the document's name
  // stands below them.
  EditW = MakeUpDownEdit(Panel1, QRect(8, 3, 49, 21), 1, 400, 200, UdW);
  EditH = MakeUpDownEdit(Panel1, QRect(80, 3, 49, 21), 1, 400, 200, UdH);
  LblDocument = new QLabel(Panel1);
  LblDocument->setObjectName(QStringLiteral("LblDocument"));
  LblDocument->setGeometry(8, 26, 147, 13);
  BtnUndo = MakeButton<QToolButton>(Panel1, QRect(160, 8, 25, 25), UndoGlyph(), "BtnUndo");
  BtnRedo = MakeButton<QToolButton>(Panel1, QRect(186, 8, 25, 25), RedoGlyph(), "BtnRedo");
  BtnSave = MakeButton<QToolButton>(Panel1, QRect(220, 8, 25, 25), ExportPictureGlyph(), "BtnSave");
  BtnCopyPicture = MakeButton<QToolButton>(Panel1, QRect(246, 8, 25, 25), CopyPictureGlyph(), "BtnCopyPicture");
  // The document's buttons, smaller, in two rows at the strip's end.
  BtnNew = MakeButton<QToolButton>(Panel1, QRect(274, 2, 19, 19), NewDocumentGlyph(), "BtnNew");
  BtnOpen = MakeButton<QToolButton>(Panel1, QRect(293, 2, 19, 19), OpenDocumentGlyph(), "BtnOpen");
  BtnSaveDocument = MakeButton<QToolButton>(Panel1, QRect(312, 2, 19, 19), SaveDocumentGlyph(), "BtnSaveDocument");
  BtnSaveAs = MakeButton<QToolButton>(Panel1, QRect(274, 21, 19, 19), SaveDocumentAsGlyph(), "BtnSaveAs");
  const std::pair<QToolButton*, const char*> hints[] = {
      {BtnUndo, "undo"},         {BtnRedo, "redo"},        {BtnSave, "export picture"},
      {BtnCopyPicture, "copy picture"}, {BtnNew, "new"}, {BtnOpen, "open"},
      {BtnSaveDocument, "save"}, {BtnSaveAs, "save as"}};
  for (const auto& [button, hint] : hints) button->setToolTip(QLatin1String(hint));
  LblZoom = new QLabel(zoom_.Percent(), Panel1);
  LblZoom->setObjectName(QStringLiteral("LblZoom"));
  LblZoom->setGeometry(294, 24, 43, 13);
  LblZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  ScrollBox1 = new QScrollArea(this);
  PBox = new TPaintBox;
  PBox->resize(200, 200);
  PBox->setFocusPolicy(Qt::ClickFocus);
  ScrollBox1->setWidget(PBox);
  ScrollBox1->installEventFilter(this);
  PBox->installEventFilter(this);
  ScrollBox1->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(ScrollBox1, 1);

  ConnectHandler(EditW, &QLineEdit::textChanged, this, &TMainForm::EditWChange);
  ConnectHandler(EditH, &QLineEdit::textChanged, this, &TMainForm::EditWChange);
  ConnectHandler(BtnUndo, &QToolButton::clicked, this, &TMainForm::BtnUndoClick);
  ConnectHandler(BtnRedo, &QToolButton::clicked, this, &TMainForm::BtnRedoClick);
  ConnectHandler(BtnSave, &QToolButton::clicked, this, &TMainForm::BtnSaveClick);
  ConnectHandler(BtnCopyPicture, &QToolButton::clicked, this, &TMainForm::BtnCopyPictureClick);
  ConnectHandler(BtnNew, &QToolButton::clicked, this, &TMainForm::BtnNewClick);
  ConnectHandler(BtnOpen, &QToolButton::clicked, this, &TMainForm::BtnOpenClick);
  ConnectHandler(BtnSaveDocument, &QToolButton::clicked, this, &TMainForm::BtnSaveDocumentClick);
  ConnectHandler(BtnSaveAs, &QToolButton::clicked, this, &TMainForm::BtnSaveAsClick);
  AddKeys();
  setAcceptDrops(true);
  AddZoomKeys();
  // The handlers take canvas pixels, whatever the zoom.
  PBox->OnPaint = [this] { PBoxPaint(PBox); };
  PBox->OnMouseDown = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PBoxMouseDown(PBox, button, shift, zoom_.ToCanvas(x), zoom_.ToCanvas(y));
  };
  PBox->OnMouseMove = [this](TShiftState shift, int32_t x, int32_t y) {
    PBoxMouseMove(PBox, shift, zoom_.ToCanvas(x), zoom_.ToCanvas(y));
  };
  PBox->OnMouseUp = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    PBoxMouseUp(PBox, button, shift, zoom_.ToCanvas(x), zoom_.ToCanvas(y));
  };
  PBox->OnDblClick = [this](TShiftState shift, int32_t x, int32_t y) {
    PBoxDblClick(PBox, shift, zoom_.ToCanvas(x), zoom_.ToCanvas(y));
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
  Composition->History.AddView(this, [this] { return SaveView(); }, [this](const std::any& view) { LoadView(view); });
  Document = std::make_unique<TDocument>(this);
  Document->OnNameChange = [this] { ShowDocumentName(); };
  Composition->History.MarkSaved();
  Composition->History.OnChange = [this] {
    UpdateUndoButtons();
    Document->Changed();
  };
  Composition->History.OnError = [](const std::exception& error) { ShowException(error); };
  UpdateUndoButtons();
  ShowDocumentName();
  MakeUndoKeys(this, [] { Composition->History.Undo(); }, [] { Composition->History.Redo(); });
}

void TMainForm::FormDestroy(QObject*) {
  // The recovery copy goes first: its thread may still hold a part of the composition.
  Document.reset();
  delete Composition;
  Composition = nullptr;
}

void TMainForm::PBoxPaint(QObject*) { Composition->Paint(PBox->Canvas()); }

void TMainForm::EditWChange(QObject* Sender) {
  const TZeltoAction action(Composition->History, Sender == EditH ? TStepKind::Height : TStepKind::Width);
  // Bound to the two size edits only, so the sender is always one of them. The check keeps the
  // handler's rule for any other caller: only an edit's text is applied, and the canvas is
  // repainted whoever sent the change.
  if (Sender == EditW || Sender == EditH) {
    QLineEdit* edit = static_cast<QLineEdit*>(Sender);
    // An empty, zero or too large text is replaced by the spinner's position; that change
    // runs this handler again, nested, for the new text before this run goes on.
    if (StrToIntDef(edit->text(), 0) <= 0)
      edit->setText(QString::number((edit == EditW ? UdW : UdH)->Position()));
    const int32_t value = StrToInt(edit->text());
    // The composition first: a size its bitmap cannot take leaves the canvas as it was, and
    // the paint area keeps the composition's size.
    try {
      if (edit == EditW)
        Composition->SetWidth(value);
      else
        Composition->SetHeight(value);
    } catch (...) {
      ShowSizeInForce(edit);
      throw;
    }
    SizePaintArea();
  }
  RepaintCanvas();
}

void TMainForm::ShowSizeInForce(QLineEdit* edit) {
  TUpDown* spinner = edit == EditW ? UdW : UdH;
  spinner->Restore(QString::number(edit == EditW ? Composition->Width : Composition->Height), spinner->Position());
}

void TMainForm::PBoxMouseDown(QObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  // A new drag is a step of its own, not more of the last one.
  Composition->History.BreakMerge();
  Dragging = true;
  LastX = X;
  LastY = Y;
}

// A move or release outside a drag does nothing, and is no action of the user.
void TMainForm::PBoxMouseMove(QObject*, TShiftState, int32_t X, int32_t Y) {
  if (!Dragging) return;
  const TZeltoAction action(Composition->History, TStepKind::Drag);
  DeltaX = CheckedSub(X, LastX);
  DeltaY = CheckedSub(Y, LastY);
  LastX = X;
  LastY = Y;
  MoveSelection();
}

void TMainForm::PBoxMouseUp(QObject*, TMouseButton, TShiftState, int32_t X, int32_t Y) {
  if (!Dragging) return;
  const TZeltoAction action(Composition->History, TStepKind::Drag);
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

void TMainForm::NudgeSelection(int32_t dx, int32_t dy) {
  const TZeltoAction action(Composition->History, TStepKind::Nudge);
  DeltaX = dx;
  DeltaY = dy;
  MoveSelection();
}

void TMainForm::MoveProc(int32_t, TZeltoLayer& Layer) { Layer.MoveBy(DeltaX, DeltaY); }

void TMainForm::PBoxDblClick(QObject*, TShiftState Shift, int32_t X, int32_t Y) {
  const int32_t index = Composition->LayerAt(X, Y);
  if (index >= 0 && OnPickLayer) OnPickLayer(index, (Shift & ssCtrl) != 0);
}

void TMainForm::AddZoomKeys() {
  const auto bind = [this](QKeyCombination keys, std::function<TZoom()> zoom) {
    auto* shortcut = new QShortcut(QKeySequence(keys), this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, Guard([this, zoom] { SetZoom(zoom(), ViewCentre()); }));
  };
  // Ctrl+= is Ctrl+plus without Shift; the keypad's keys count as the others.
  const auto in = [this] { return ZoomIn(zoom_); };
  bind(Qt::CTRL | Qt::Key_Plus, in);
  bind(Qt::CTRL | Qt::Key_Equal, in);
  bind(Qt::CTRL | Qt::Key_Minus, [this] { return ZoomOut(zoom_); });
  bind(Qt::CTRL | Qt::Key_0, [] { return TZoom{}; });
  bind(Qt::CTRL | Qt::Key_9, [this] {
    return FitZoom(QSize(Composition->Width, Composition->Height), ScrollBox1->maximumViewportSize());
  });
}

QPoint TMainForm::ViewCentre() const { return ScrollBox1->viewport()->rect().center(); }

void TMainForm::SetZoom(TZoom zoom, QPoint anchor) {
  if (zoom == zoom_) return;
  const QPointF point = QPointF(anchor - PBox->pos()) / zoom_.Scale();
  zoom_ = zoom;
  LblZoom->setText(zoom_.Percent());
  PBox->Canvas().SetScale(zoom_.Scale());
  SizePaintArea();
  const QPointF shown = point * zoom_.Scale() - QPointF(anchor);
  ScrollBox1->horizontalScrollBar()->setValue(qRound(shown.x()));
  ScrollBox1->verticalScrollBar()->setValue(qRound(shown.y()));
  RepaintCanvas();
}

void TMainForm::WheelZoom(int delta, QPoint anchor) {
  wheelRest_ += delta;
  TZoom zoom = zoom_;
  for (; wheelRest_ >= kWheelNotch; wheelRest_ -= kWheelNotch) zoom = ZoomIn(zoom);
  for (; wheelRest_ <= -kWheelNotch; wheelRest_ += kWheelNotch) zoom = ZoomOut(zoom);
  SetZoom(zoom, anchor);
}

void TMainForm::SizePaintArea() { PBox->resize(zoom_.ToView(Composition->Width), zoom_.ToView(Composition->Height)); }

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == ScrollBox1 || watched == PBox)) {
    if (const std::optional<QPoint> step = NudgeStep(*static_cast<QKeyEvent*>(event))) {
      Guarded([this, step] { NudgeSelection(step->x(), step->y()); });
      return true;
    }
  } else if (event->type() == QEvent::Wheel && (watched == ScrollBox1->viewport() || watched == PBox)) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
      const QPoint at = static_cast<QWidget*>(watched)->mapTo(ScrollBox1->viewport(), wheel->position().toPoint());
      Guarded([this, wheel, at] { WheelZoom(wheel->angleDelta().y(), at); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMainForm::BtnUndoClick(QObject*) { Composition->History.Undo(); }

void TMainForm::BtnRedoClick(QObject*) { Composition->History.Redo(); }

TViewState TMainForm::SaveView() const {
  TSizeFields fields{EditW->text(), UdW->Position(), EditH->text(), UdH->Position()};
  const std::size_t bytes = sizeof(fields) + (fields.Width.size() + fields.Height.size()) * sizeof(QChar);
  return {std::move(fields), bytes};
}

void TMainForm::LoadView(const std::any& view) {
  if (view.has_value()) {
    const auto& fields = std::any_cast<const TSizeFields&>(view);
    UdW->Restore(fields.Width, fields.WidthPosition);
    UdH->Restore(fields.Height, fields.HeightPosition);
  } else {
    // A new composition: the fields show its size, the spinners as near it as they go.
    for (auto [spinner, size] : {std::pair{UdW, Composition->Width}, std::pair{UdH, Composition->Height}})
      spinner->Restore(QString::number(size), static_cast<int16_t>(std::clamp<int32_t>(size, spinner->Min(), spinner->Max())));
  }
  SizePaintArea();
  RepaintCanvas();
}

void TMainForm::UpdateUndoButtons() {
  BtnUndo->setEnabled(Composition->History.CanUndo());
  BtnRedo->setEnabled(Composition->History.CanRedo());
}

void TMainForm::BtnSaveClick(QObject*) { SavePicture(this); }

void TMainForm::BtnCopyPictureClick(QObject*) { CopyPicture(); }

void TMainForm::BtnNewClick(QObject*) { Document->New(); }

void TMainForm::BtnOpenClick(QObject*) { Document->Open(); }

void TMainForm::BtnSaveDocumentClick(QObject*) { Document->Save(); }

void TMainForm::BtnSaveAsClick(QObject*) { Document->SaveAs(); }

void TMainForm::ShowDocumentName() {
  const QString name = Document->Name() + (Document->Modified() ? QStringLiteral(" *") : QString());
  LblDocument->setText(LblDocument->fontMetrics().elidedText(name, Qt::ElideMiddle, LblDocument->width()));
  LblDocument->setToolTip(Document->Path().isEmpty() ? name : QDir::toNativeSeparators(Document->Path()));
}

void TMainForm::AddKeys() {
  const auto bind = [this](QKeyCombination keys, QAbstractButton* button) {
    // For the whole program rather than one window; a modal dialog blocks it like any input. A
    // focused text field claims the keys it handles itself (Ctrl+C) before any shortcut sees
    // them.
    auto* shortcut = new QShortcut(QKeySequence(keys), this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
  };
  bind(Qt::CTRL | Qt::Key_N, BtnNew);
  bind(Qt::CTRL | Qt::Key_O, BtnOpen);
  bind(Qt::CTRL | Qt::Key_S, BtnSaveDocument);
  bind(Qt::CTRL | Qt::SHIFT | Qt::Key_S, BtnSaveAs);
  bind(Qt::CTRL | Qt::Key_E, BtnSave);
  bind(Qt::CTRL | Qt::SHIFT | Qt::Key_C, BtnCopyPicture);
  bind(Qt::CTRL | Qt::Key_C, BtnCopyPicture);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Unsaved changes are saved or discarded first, as the user chooses; Cancel keeps the program.
  bool leave = false;
  Guarded([&] { leave = Document->MayLeave(); });
  if (!leave) {
    event->ignore();
    return;
  }
  event->accept();
  QCoreApplication::quit();
}

namespace {
// The one local file a drag brings, if it brings one.
QString DroppedFile(const QMimeData* data) {
  const QList<QUrl> urls = data->urls();
  return urls.size() == 1 && urls[0].isLocalFile() ? urls[0].toLocalFile() : QString();
}
}  // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // Once the drop is over: the program the file came from waits until then, and would wait for
  // every question that opening asks.
  QTimer::singleShot(0, this, [this, path] { Guarded([&] { Document->Open(path); }); });
}

void RepaintCanvas() { MainForm->PBox->repaint(); }
