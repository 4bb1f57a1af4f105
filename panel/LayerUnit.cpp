#include "panel/LayerUnit.h"

#include "app/MainUnit.h"
#include "pickers/ColorUnit.h"
#include "pickers/FontUnit.h"
#include "pickers/ButtonPictures.h"
#include "pickers/Misc.h"
#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/CodePage.h"
#include "toolkit/Convert.h"
#include "toolkit/OwnerDraw.h"
#include "toolkit/PictureButton.h"
#include "toolkit/TickCount.h"
#include "toolkit/UiFont.h"
#include "toolkit/UndoKeys.h"
#include "toolkit/UpDown.h"
#include "toolkit/WindowBounds.h"

#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>

TLayerForm* LayerForm = nullptr;
TPressKind PressKind = pkNone;
int32_t PressIndex = 0;

namespace {

constexpr int32_t kRowHeight = 18;

// What the list and the editors show besides the composition: the memo's text, the spacing
// edits' texts and their spinners' positions (which differ from the texts while a text is out of
// range), and the list's current row.
struct TEditors {
  QString Memo;
  QString LineSpan;
  int16_t LineSpanPosition;
  QString CharSpan;
  int16_t CharSpanPosition;
  int32_t ItemIndex;
};

// --- A row of the list ---

// A row's three parts: the visibility cell, the default-font cell (squares as high as the row)
// and the text area after them.
struct TRowCells {
  TRect Row, Visibility, DefaultFont, Text;
};

TRowCells Cells(const TRect& row) {
  const int32_t h = row.Height();
  const int32_t x1 = CheckedAdd(row.Left, h);
  const int32_t x2 = CheckedAdd(x1, h);
  return {row,
          {row.Left, row.Top, x1, row.Bottom},
          {x1, row.Top, x2, row.Bottom},
          {x2, row.Top, row.Right, row.Bottom}};
}

// The start of `text` that a text area `width` pixels wide can show: a glyph that shows is a
// pixel wide at the least, and room is left for three that do not (marks, joiners) to each. Qt
// would shape a long text whole at every paint of its row.
QString RowText(const std::string& text, int32_t width) {
  const TCodePage& codePage = TCodePage::System();
  const int64_t shown = 4 * int64_t(std::max(width, 0)) + 16;
  std::size_t end = 0;
  for (int64_t chars = 0; chars < shown && end < text.size(); ++chars) {
    const std::size_t length = codePage.CharLength(text, end);
    end = length == 0 ? text.size() : end + length;  // a cut-off last character shows as before
  }
  return codePage.ToUnicode(std::string_view(text).substr(0, end));
}

struct TRowColors {
  QColor Back, Text;
};

// By [has the focus][is selected].
const TRowColors kRowColors[2][2] = {
    {{QColor(255, 255, 255), QColor(0, 0, 0)}, {ToQColor(clClassicHighlight), QColor(255, 255, 255)}},
    {{QColor(240, 240, 240), QColor(0, 0, 0)}, {QColor(110, 136, 206), QColor(255, 255, 255)}},
};

// A spacing field: an edit starting at "0" with a spinner of -100..100 at its right edge.
QLineEdit* MakeSpanEdit(QWidget* parent, int y, TUpDown*& spinner, const char* name) {
  QLineEdit* edit = MakeUpDownEdit(parent, QRect(4, y, 38, 21), -100, 100, 0, spinner);
  edit->setObjectName(QLatin1String(name));
  return edit;
}

}  // namespace

TLayerForm::TLayerForm() {
  setWindowFlags(Qt::Tool);
  setWindowTitle(QStringLiteral("LayerForm"));
  setFont(UiFont().ToQFont());
  SetOuterBounds(this, QRect(0, 0, 150, 474));

  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setFixedHeight(41);
  BtnAdd = MakeButton<QToolButton>(Panel1, QRect(8, 8, 25, 25), AddLayerGlyph(), "BtnAdd");
  BtnDel = MakeButton<QToolButton>(Panel1, QRect(36, 8, 25, 25), CancelGlyph(), "BtnDel");
  BtnCopy = MakeButton<QToolButton>(Panel1, QRect(64, 8, 25, 25), CopyLayerGlyph(), "BtnCopy");
  BtnAdd->setToolTip(QStringLiteral("create"));
  BtnDel->setToolTip(QStringLiteral("delete"));
  BtnCopy->setToolTip(QStringLiteral("create copy"));

  // The list and the memo share the space between the panels; the splitter moves the border
  // between them, and only the list grows and shrinks with the window.
  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  LBox = new TVirtualListBox(kRowHeight);
  MemText = new QPlainTextEdit;
  MemText->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemText->setTabChangesFocus(true);
  // Ctrl+Z undoes the composition's last step, which puts back what the memo showed: the memo
  // keeps no history of its own.
  MemText->setUndoRedoEnabled(false);
  Splitter1->addWidget(LBox);
  Splitter1->addWidget(MemText);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({474 - 41 - 135 - 3 - 89, 89});

  Panel2 = new QFrame(this);
  Panel2->setFixedHeight(135);
  BtnUp = MakeButton<QToolButton>(Panel2, QRect(4, 4, 25, 25), ArrowGlyph(true), "BtnUp");
  BtnDown = MakeButton<QToolButton>(Panel2, QRect(29, 4, 25, 25), ArrowGlyph(false), "BtnDown");
  BtnFont = MakeButton<QToolButton>(Panel2, QRect(4, 29, 25, 25), LayerFontGlyph(), "BtnFont");
  BtnColor = MakeButton<QToolButton>(Panel2, QRect(29, 29, 25, 25), LayerColorGlyph(), "BtnColor");
  BitBtn1 = MakeButton<QPushButton>(Panel2, QRect(4, 54, 25, 25), DefaultFontGlyph(), "BitBtn1");
  BitBtn2 = MakeButton<QPushButton>(Panel2, QRect(29, 54, 25, 25), DefaultColorGlyph(), "BitBtn2");
  EditLineSpan = MakeSpanEdit(Panel2, 84, UdLineSpan, "EditLineSpan");
  EditCharSpan = MakeSpanEdit(Panel2, 109, UdCharSpan, "EditCharSpan");
  UdLineSpan->setObjectName(QStringLiteral("UdLineSpan"));
  UdCharSpan->setObjectName(QStringLiteral("UdCharSpan"));

  QToolButton** const alignment[] = {&BtnLT, &BtnCT, &BtnRT, &BtnLC, &BtnCC, &BtnRC, &BtnLB, &BtnCB, &BtnRB};
  static const char* const alignmentNames[] = {"BtnLT", "BtnCT", "BtnRT", "BtnLC", "BtnCC",
                                               "BtnRC", "BtnLB", "BtnCB", "BtnRB"};
  for (int tag = 0; tag < 9; ++tag) {
    QToolButton* button =
        MakeButton<QToolButton>(Panel2, QRect(66 + 25 * (tag % 3), 4 + 25 * (tag / 3), 25, 25), AnchorGlyph(tag),
                                alignmentNames[tag]);
    button->setProperty("Tag", tag);
    ConnectHandler(button, &QToolButton::clicked, this, &TLayerForm::BtnLTClick);
    *alignment[tag] = button;
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(Splitter1, 1);
  layout->addWidget(Panel2);

  const std::pair<QWidget*, const char*> names[] = {
      {Panel1, "Panel1"}, {Splitter1, "Splitter1"}, {LBox, "LBox"}, {MemText, "MemText"}, {Panel2, "Panel2"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));

  LBox->OnDrawItem = [this](QPainter& canvas, int32_t index, const TRect& rect, TOwnerDrawState state) {
    LBoxDrawItem(canvas, index, rect, state);
  };
  LBox->OnMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y) {
    LBoxMouseDown(LBox, button, shift, x, y);
  };
  LBox->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int32_t x, int32_t y) {
    LBoxMouseUp(LBox, button, shift, x, y);
  };
  LBox->OnClick = [this] { LBoxClick(LBox); };
  ConnectHandler(BtnAdd, &QToolButton::clicked, this, &TLayerForm::BtnAddClick);
  ConnectHandler(BtnDel, &QToolButton::clicked, this, &TLayerForm::BtnDelClick);
  ConnectHandler(BtnCopy, &QToolButton::clicked, this, &TLayerForm::BtnCopyClick);
  ConnectHandler(BtnUp, &QToolButton::clicked, this, &TLayerForm::BtnUpClick);
  ConnectHandler(BtnDown, &QToolButton::clicked, this, &TLayerForm::BtnDownClick);
  ConnectHandler(BtnFont, &QToolButton::clicked, this, &TLayerForm::BtnFontClick);
  ConnectHandler(BtnColor, &QToolButton::clicked, this, &TLayerForm::BtnColorClick);
  ConnectHandler(BitBtn1, &QPushButton::clicked, this, &TLayerForm::BitBtn1Click);
  ConnectHandler(BitBtn2, &QPushButton::clicked, this, &TLayerForm::BitBtn2Click);
  ConnectHandler(MemText, &QPlainTextEdit::textChanged, this, &TLayerForm::MemTextChange);
  ConnectHandler(EditLineSpan, &QLineEdit::textChanged, this, &TLayerForm::EditLineSpanChange);
  ConnectHandler(EditCharSpan, &QLineEdit::textChanged, this, &TLayerForm::EditLineSpanChange);

  Guarded([this] { FormCreate(this); });
  show();
}

TLayerForm::~TLayerForm() {
  Guarded([this] { FormDestroy(this); });
}

void TLayerForm::FormCreate(QObject*) {
  // Immediately to the left of the main window, tops level; nothing keeps it on the screen.
  move(CheckedSub(MainForm->x(), frameGeometry().width()), MainForm->y());
  WorkFont = std::make_unique<TFont>();
  MakeNumericEdit(EditLineSpan);
  MakeNumericEdit(EditCharSpan);
  Composition->History.AddView(this, [this] { return SaveView(); }, [this](const std::any& view) { LoadView(view); });
  MakeUndoKeys(this, [] { Composition->History.Undo(); }, [] { Composition->History.Redo(); });
  // The close box hides the panel; Ctrl+L in either window brings it back. The key belongs to the
  // main window, which stays shown.
  auto* showPanel = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), MainForm);
  showPanel->setContext(Qt::ApplicationShortcut);
  connect(showPanel, &QShortcut::activated, this, &TLayerForm::ShowPanel);
  // Delete in the list and in the main window's canvas area deletes the selected layers as the
  // button does. The main window comes before the panel in the libraries' chain, so the panel
  // installs the key there and has the main window hand it the layers picked on the canvas.
  for (QWidget* area : {static_cast<QWidget*>(MainForm->ScrollBox1), static_cast<QWidget*>(LBox)}) {
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), area);
    deleteKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(deleteKey, &QShortcut::activated, BtnDel, &QToolButton::click);
  }
  MainForm->OnPickLayer = [this](int32_t index, bool toggle) { PickLayer(index, toggle); };
}

void TLayerForm::ShowPanel() {
  show();
  raise();
  activateWindow();
}

void TLayerForm::FormDestroy(QObject*) {
  MainForm->OnPickLayer = nullptr;
  Composition->History.RemoveView(this);
  WorkFont.reset();
}

// --- The layer list ---

void TLayerForm::LBoxDrawItem(QPainter& Canvas, int32_t Index, const TRect& Rect, TOwnerDrawState State) {
  const TZeltoLayer& layer = Composition->GetLayer(Index);
  const TRowColors& colors = kRowColors[(State & odFocused) ? 1 : 0][(State & odSelected) ? 1 : 0];
  const TRowCells cells = Cells(Rect);
  const int32_t h = Rect.Height();
  const int32_t d = (h - kCheckBoxSize) / 2;

  Canvas.fillRect(Rect.Left, Rect.Top, Rect.Width(), h, colors.Back);
  DrawCheckBox(Canvas, CheckedAdd(Rect.Left, d), CheckedAdd(Rect.Top, d), layer.Visible,
               PressKind == pkVisibility && PressIndex == Index);
  DrawCheckBox(Canvas, CheckedAdd(cells.DefaultFont.Left, d), CheckedAdd(Rect.Top, d), layer.UseDefaultFont,
               PressKind == pkDefaultFont && PressIndex == Index);

  // One line, whatever line breaks the text holds, vertically centred by the height of "Wg".
  Canvas.setFont(LBox->font());
  const QFontMetrics metrics = Canvas.fontMetrics();
  const int32_t top = CheckedAdd(Rect.Top, (h - metrics.height()) / 2);
  Canvas.setClipRect(cells.Text.Left, cells.Text.Top, cells.Text.Width(), cells.Text.Height());
  Canvas.setPen(colors.Text);
  Canvas.drawText(CheckedAdd(cells.Text.Left, 3), CheckedAdd(top, metrics.ascent()),
                  RowText(layer.GetText(), cells.Text.Width()));

  if (State & odFocused) DrawFocusRect(Canvas, QRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()), colors.Text);
}

void TLayerForm::LBoxMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int32_t X, int32_t Y) {
  PressKind = pkNone;
  const int32_t row = LBox->ItemAtPos(QPoint(X, Y));
  if (row < 0) return;
  const TRowCells cells = Cells(LBox->ItemRect(row));
  if (cells.Visibility.Contains(X, Y)) {
    PressKind = pkVisibility;
    PressIndex = row;
    LBox->InvalidateRect(cells.Visibility);
  } else if (cells.DefaultFont.Contains(X, Y)) {
    PressKind = pkDefaultFont;
    PressIndex = row;
    LBox->InvalidateRect(cells.DefaultFont);
  } else {
    LBox->InvalidateRect(cells.Row);
  }
}

void TLayerForm::LBoxMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int32_t X, int32_t Y) {
  const TZeltoAction action(Composition->History, TStepKind::RowBox);
  // The box toggles only when the release is in the cell that the press was in.
  const TRowCells cells = Cells(LBox->ItemRect(PressIndex));
  if (cells.Visibility.Contains(X, Y) && PressKind == pkVisibility) {
    Composition->SetLayerVisible(PressIndex, !Composition->LayerVisible(PressIndex));
    LBox->InvalidateRect(cells.Visibility);
    RepaintCanvas();
  } else if (cells.DefaultFont.Contains(X, Y) && PressKind == pkDefaultFont) {
    Composition->SetLayerUseDefaultFont(PressIndex, !Composition->LayerUseDefaultFont(PressIndex));
    LBox->InvalidateRect(cells.DefaultFont);
    RepaintCanvas();
  } else {
    LBox->InvalidateRect(cells.Row);
  }
  PressKind = pkNone;
}

void TLayerForm::LBoxClick(QObject*) {
  // What loading the editors writes into the selected layers belongs to this step.
  const TZeltoAction action(Composition->History, TStepKind::Select);
  SyncSelection();
}

void TLayerForm::PickLayer(int32_t Index, bool Toggle) {
  const TZeltoAction action(Composition->History, TStepKind::Select);
  if (Toggle) {
    LBox->SetSelected(Index, !LBox->Selected(Index));
  } else {
    for (int32_t i = 0; i < LBox->Count(); ++i)
      if (LBox->Selected(i) != (i == Index)) LBox->SetSelected(i, i == Index);
  }
  // The row becomes the current one either way, as a click or Ctrl+click on it makes it.
  LBox->SetItemIndex(Index);
  SyncSelection();
}

void TLayerForm::SyncSelection() {
  for (int32_t i = 0; i < LBox->Count(); ++i) Composition->SetLayerSelected(i, LBox->Selected(i));
  if (Composition->SelectedCount() == 0) return;
  // Loading goes through the editors' change handlers, so whatever an editor changes to
  // reaches every selected layer.
  const TZeltoLayer& first = Composition->SelectedLayer(0);
  const QString text = ShownText(first.GetText());
  if (MemText->toPlainText() != text) MemText->setPlainText(text);
  UdLineSpan->SetPosition(first.LineSpan);
  UdCharSpan->SetPosition(first.CharSpan);
}

void TLayerForm::UpdateCount() { LBox->SetCount(Composition->LayerCount()); }

void TLayerForm::MarkRow(int32_t row) {
  LBox->SetItemIndex(row);
  LBox->SetSelected(row, true);
}

void TLayerForm::BtnAddClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Add);
  const int32_t index = Composition->AddLayer(std::to_string(GetTickCount()));
  UpdateCount();
  MarkRow(index);
  SyncSelection();
  RepaintCanvas();
}

void TLayerForm::BtnCopyClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Copy);
  if (LBox->SelCount() == 0) return;
  WorkValue = 0;
  ForEachSelected(true, std::bind_front(&TLayerForm::CopyProc, this));
  UpdateCount();
  MarkRow(WorkValue);
  SyncSelection();
  RepaintCanvas();
}

void TLayerForm::CopyProc(int32_t Index, TZeltoLayer&) { WorkValue = Composition->AddLayerCopy(Index); }

void TLayerForm::BtnDelClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Delete);
  WorkValue = -1;
  ForEachSelected(false, std::bind_front(&TLayerForm::DeleteProc, this));
  UpdateCount();
  if (WorkValue == -1) return;
  // The row above the top-most deleted layer, or row 0.
  WorkValue = std::max(WorkValue - 1, 0);
  if (WorkValue < LBox->Count()) MarkRow(WorkValue);
  SyncSelection();
  RepaintCanvas();
}

void TLayerForm::DeleteProc(int32_t Index, TZeltoLayer&) {
  Composition->DeleteLayer(Index);
  LBox->DeleteRow(Index);
  WorkValue = Index;
}

void TLayerForm::BtnUpClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Up);
  if (LBox->Count() < 2 || LBox->Selected(0)) return;
  ForEachSelected(true, std::bind_front(&TLayerForm::UpProc, this));
  RepaintCanvas();
}

void TLayerForm::UpProc(int32_t Index, TZeltoLayer&) {
  Composition->MoveLayer(Index, Index - 1);
  LBox->SetSelected(Index - 1, true);
  LBox->SetSelected(Index, false);
}

void TLayerForm::BtnDownClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Down);
  if (LBox->Count() < 2 || LBox->Selected(LBox->Count() - 1)) return;
  ForEachSelected(false, std::bind_front(&TLayerForm::DownProc, this));
  RepaintCanvas();
}

void TLayerForm::DownProc(int32_t Index, TZeltoLayer&) {
  Composition->MoveLayer(Index, Index + 1);
  LBox->SetSelected(Index + 1, true);
  LBox->SetSelected(Index, false);
}

TViewState TLayerForm::SaveView() {
  std::size_t bytes = sizeof(TEditors);
  QString memo = MemText->toPlainText();
  if (memo == keptMemo_) {
    memo = keptMemo_;
  } else {
    keptMemo_ = memo;
    bytes += memo.size() * sizeof(QChar);
  }
  TEditors editors{std::move(memo),      EditLineSpan->text(),   UdLineSpan->Position(),
                   EditCharSpan->text(), UdCharSpan->Position(), LBox->ItemIndex()};
  bytes += (editors.LineSpan.size() + editors.CharSpan.size()) * sizeof(QChar);
  return {std::move(editors), bytes};
}

void TLayerForm::LoadView(const std::any& view) {
  UpdateCount();
  for (int32_t i = 0; i < LBox->Count(); ++i)
    if (LBox->Selected(i) != Composition->LayerSelected(i)) LBox->SetSelected(i, Composition->LayerSelected(i));
  std::optional<TEditors> editors;
  if (view.has_value()) {
    editors = std::any_cast<const TEditors&>(view);
  } else if (Composition->SelectedCount() > 0) {
    // A new composition: the editors show its first selected layer, as selecting it would, but
    // without writing into the layers; with nothing selected they keep what they show.
    const TZeltoLayer& first = Composition->SelectedLayer(0);
    editors = {ShownText(first.GetText()), QString::number(first.LineSpan), RangeToInt16(first.LineSpan),
               QString::number(first.CharSpan), RangeToInt16(first.CharSpan), Composition->SelectionIndexes()[0]};
  }
  if (editors) {
    if (editors->ItemIndex >= 0 && editors->ItemIndex < LBox->Count()) LBox->SetItemIndex(editors->ItemIndex);
    {
      const QSignalBlocker quiet(MemText);
      if (MemText->toPlainText() != editors->Memo) MemText->setPlainText(editors->Memo);
    }
    UdLineSpan->Restore(editors->LineSpan, editors->LineSpanPosition);
    UdCharSpan->Restore(editors->CharSpan, editors->CharSpanPosition);
  }
  RepaintLayerList();
}

void RepaintLayerList() { LayerForm->LBox->Repaint(); }

// --- The property editors ---

void TLayerForm::MemTextChange(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::Text);
  // The memo's text as the layers store it, converted once for them all.
  memoText_ = Composition->SelectedCount() > 0 ? TypedText(MemText->toPlainText()) : std::string();
  ForEachSelected(true, std::bind_front(&TLayerForm::TextProc, this));
  memoText_.clear();
  RepaintLayerList();
  RepaintCanvas();
}

void TLayerForm::TextProc(int32_t, TZeltoLayer& Layer) { Layer.SetText(memoText_); }

void TLayerForm::EditLineSpanChange(QObject* Sender) {
  const TZeltoAction action(Composition->History, Sender == EditCharSpan ? TStepKind::CharSpan : TStepKind::LineSpan);
  // Bound to the two spacing edits only, so the sender is always one of them. The check keeps the
  // handler's rule for any other caller: only an edit's text is applied, and the canvas is
  // repainted whoever sent the change.
  if (Sender == EditLineSpan || Sender == EditCharSpan) {
    const bool line = Sender == EditLineSpan;
    QLineEdit* edit = line ? EditLineSpan : EditCharSpan;
    TUpDown* spinner = line ? UdLineSpan : UdCharSpan;
    // A text that is no whole number, or one below the range, is replaced by the spinner's
    // position; that change runs this handler again, nested, before this run goes on. A number
    // above the range stays in the edit, and the spinner keeps its last position in range.
    if (StrToIntDef(edit->text(), spinner->Min() - 1) < spinner->Min())
      edit->setText(QString::number(spinner->Position()));
    WorkValue = spinner->Position();
    ForEachSelected(true, std::bind_front(line ? &TLayerForm::LineSpanProc : &TLayerForm::CharSpanProc, this));
  }
  RepaintCanvas();
}

void TLayerForm::LineSpanProc(int32_t, TZeltoLayer& Layer) { Layer.LineSpan = WorkValue; }

void TLayerForm::CharSpanProc(int32_t, TZeltoLayer& Layer) { Layer.CharSpan = WorkValue; }

void TLayerForm::BtnLTClick(QObject* Sender) {
  const TZeltoAction action(Composition->History, TStepKind::Align);
  WorkValue = Sender->property("Tag").toInt();
  if (LBox->Count() == 0) return;
  ForEachSelected(true, std::bind_front(&TLayerForm::AlignProc, this));
  RepaintCanvas();
}

void TLayerForm::AlignProc(int32_t, TZeltoLayer& Layer) {
  const uint8_t anchor = RangeToByte(WorkValue);
  Layer.AlignToAnchor(anchor);
  Layer.Anchor = std::min<uint8_t>(anchor, 8);
}

void TLayerForm::BtnFontClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::LayerFont);
  if (Composition->SelectedCount() == 0) return;
  // The layer's own font, also while the layer draws with the default font.
  *WorkFont = Composition->SelectedLayer(0).Font;
  if (!ShowFontPicker(this, *WorkFont)) return;
  ForEachSelected(true, std::bind_front(&TLayerForm::FontProc, this));
  RepaintLayerList();
  RepaintCanvas();
}

void TLayerForm::FontProc(int32_t, TZeltoLayer& Layer) {
  Layer.UseDefaultFont = false;
  Layer.Font = *WorkFont;
}

void TLayerForm::BtnColorClick(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::LayerColor);
  if (Composition->SelectedCount() == 0) return;
  TColor color = Composition->SelectedLayer(0).Font.Color;
  if (!ShowColorPicker(this, color)) return;
  WorkValue = color;
  ForEachSelected(true, std::bind_front(&TLayerForm::ColorProc, this));
  RepaintLayerList();
  RepaintCanvas();
}

void TLayerForm::ColorProc(int32_t, TZeltoLayer& Layer) {
  Layer.UseDefaultFont = false;
  Layer.Font.Color = WorkValue;
}

void TLayerForm::BitBtn1Click(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::DefaultFont);
  *WorkFont = Composition->DefaultFont();
  if (!ShowFontPicker(this, *WorkFont)) return;
  Composition->SetDefaultFont(*WorkFont);
  RepaintCanvas();
}

void TLayerForm::BitBtn2Click(QObject*) {
  const TZeltoAction action(Composition->History, TStepKind::DefaultColor);
  TColor color = Composition->DefaultFont().Color;
  if (!ShowColorPicker(this, color)) return;
  // The composition's own font object: the layers that use the default font follow it.
  Composition->DefaultFont().Color = color;
  RepaintCanvas();
}
