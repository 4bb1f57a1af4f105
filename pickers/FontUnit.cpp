#include "pickers/FontUnit.h"

#include "pickers/ButtonPictures.h"
#include "pickers/ColorUnit.h"
#include "pickers/Misc.h"
#include "toolkit/Application.h"
#include "toolkit/Checked.h"
#include "toolkit/CodePage.h"
#include "toolkit/Convert.h"
#include "toolkit/FontFamilies.h"
#include "toolkit/ModalResult.h"
#include "toolkit/OwnerDraw.h"
#include "toolkit/PictureButton.h"
#include "toolkit/ShowModal.h"
#include "toolkit/UiFont.h"
#include "toolkit/UpDown.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kItemHeight = 14;

// Draws every row of the family list through the dialog's LBoxDrawItem, at a fixed height.
class TFontListDelegate : public QStyledItemDelegate {
 public:
  explicit TFontListDelegate(TFontForm* form) : QStyledItemDelegate(form), form_(form) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    Guarded([&] {
      form_->LBoxDrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected,
                          option.state & QStyle::State_HasFocus);
    });
  }

  // Rows are as wide as the list; names longer than that are cut off.
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return QSize(0, kItemHeight); }

 private:
  TFontForm* form_;
};

template <class Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

// The style buttons show their style in 13-pixel Verdana, or in the face closest to it where
// Verdana is not installed.
QFont VerdanaFont() {
  static const bool substituted = [] {
    if (!QFontDatabase::hasFamily(QStringLiteral("Verdana")))
      QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    return true;
  }();
  (void)substituted;
  QFont font(QStringLiteral("Verdana"));
  font.setPixelSize(13);
  return font;
}

QToolButton* MakeStyleButton(QWidget* parent, const char* name, int x, void (QFont::*setStyle)(bool)) {
  auto* button = Named(new QToolButton(parent), name);
  button->setGeometry(x, 8, 25, 25);
  button->setCheckable(true);
  button->setText(QStringLiteral("Aa"));
  QFont font = VerdanaFont();
  (font.*setStyle)(true);
  button->setFont(font);
  return button;
}

// The first row whose text equals `text`, letters compared without regard to case; -1 if none.
int IndexOf(const QListWidget& list, const QString& text) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->text().compare(text, Qt::CaseInsensitive) == 0) return row;
  return -1;
}

}  // namespace

TFontForm::TFontForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("FontForm"));
  setFont(UiFont().ToQFont());
  setFixedSize(232, 273);

  Panel1 = Named(new QFrame(this), "Panel1");
  Panel1->setGeometry(0, 0, 232, 65);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);
  PBox = Named(new TPaintBox(Panel1), "PBox");
  PBox->setGeometry(1, 1, 230, 63);

  PageControl1 = Named(new QTabWidget(this), "PageControl1");
  PageControl1->setGeometry(0, 65, 232, 168);
  TabSheet1 = Named(new QWidget, "TabSheet1");
  PageControl1->addTab(TabSheet1, QStringLiteral("Basic"));

  Panel2 = Named(new QFrame(TabSheet1), "Panel2");
  Panel2->setFixedHeight(41);
  SbBold = MakeStyleButton(Panel2, "SbBold", 8, &QFont::setBold);
  SbItalic = MakeStyleButton(Panel2, "SbItalic", 32, &QFont::setItalic);
  SbUnderLine = MakeStyleButton(Panel2, "SbUnderLine", 56, &QFont::setUnderline);
  SbStrikeOut = MakeStyleButton(Panel2, "SbStrikeOut", 80, &QFont::setStrikeOut);
  BtnColor = MakeButton<QToolButton>(Panel2, QRect(112, 8, 25, 25), FontColorGlyph(), "BtnColor");
  EdtSize = Named(MakeUpDownEdit(Panel2, QRect(152, 10, 49, 21), 1, 100, 20, UdSize), "EdtSize");
  Named(UdSize, "UdSize");
  UdSize->Wrap = true;

  LBox = Named(new QListWidget(TabSheet1), "LBox");
  LBox->setSelectionMode(QAbstractItemView::SingleSelection);
  LBox->setUniformItemSizes(true);
  LBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  LBox->setItemDelegate(new TFontListDelegate(this));

  auto* page = new QVBoxLayout(TabSheet1);
  page->setContentsMargins(2, 0, 2, 0);
  page->setSpacing(0);
  page->addWidget(Panel2);
  page->addWidget(LBox, 1);

  BtnSet = MakeButton<QPushButton>(this, QRect(168, 240, 25, 25), OkGlyph(), "BtnSet");
  BtnSet->setDefault(true);
  BitBtn1 = MakeButton<QPushButton>(this, QRect(200, 240, 25, 25), CancelGlyph(), "BitBtn1");

  BtnSet->setAccessibleName(QStringLiteral("OK"));
  BitBtn1->setAccessibleName(QStringLiteral("Cancel"));
  BtnColor->setAccessibleName(QStringLiteral("Colour"));

  connect(BtnSet, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrCancel); });
  for (QToolButton* button : {SbBold, SbItalic, SbUnderLine, SbStrikeOut})
    ConnectHandler(button, &QToolButton::clicked, this, &TFontForm::SbBoldClick);
  ConnectHandler(BtnColor, &QToolButton::clicked, this, &TFontForm::BtnColorClick);
  // The list reports selection changes of the user's; SelectRow keeps the program's quiet.
  ConnectHandler(LBox, &QListWidget::itemSelectionChanged, this, &TFontForm::LBoxClick);
  ConnectHandler(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, &TFontForm::WMFontChange);
  PBox->OnPaint = [this] { PBoxPaint(PBox); };

  Guarded([this] { FormCreate(this); });
}

void TFontForm::FormCreate(QObject*) {
  MakeNumericEdit(EdtSize);
  PBox->SetOpaque(true);
  FontNames.clear();
  PreviewBitmap.SetSize(PBox->width(), PBox->height());
  // The dialog's own font, until the caller's is copied in.
  WorkingFont() = UiFont();
}

void TFontForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) Guarded([this] { FormShow(this); });
}

void TFontForm::FormShow(QObject*) {
  FillFontList();
  LoadFont(TFont(WorkingFont()));
  // From here on the size field sets the size; what LoadFont wrote into it has not.
  ConnectHandler(EdtSize, &QLineEdit::textChanged, this, &TFontForm::EdtSizeChange);
  RenderPreview();
}

void TFontForm::SelectRow(int row) {
  const QSignalBlocker quiet(LBox);
  if (row < 0)
    LBox->selectionModel()->clear();
  else
    LBox->setCurrentRow(row);
}

void TFontForm::FillFontList() {
  const QList<QListWidgetItem*> selected = LBox->selectedItems();
  const QString remembered = selected.isEmpty() ? QString() : selected.first()->text();

  FontNames.clear();
  EnumFontFamilies([this](const QString& faceName, uint8_t charset) {
    return FontEnumProc(faceName, charset, FontNames);
  });
  std::stable_sort(FontNames.begin(), FontNames.end(),
                   [](const TFontEntry& a, const TFontEntry& b) { return CompareFontEntries(a, b) < 0; });

  {
    const QSignalBlocker quiet(LBox);
    LBox->clear();
    for (const TFontEntry& entry : FontNames) {
      auto* item = new QListWidgetItem(entry.Name, LBox);
      item->setData(Qt::UserRole, entry.Charset);
    }
  }
  if (!remembered.isEmpty())
    SelectRow(IndexOf(*LBox, remembered));
  else if (LBox->count() > 0)
    SelectRow(0);
}

void TFontForm::LoadFont(const TFont& Font) {
  if (const int row = IndexOf(*LBox, Font.Name); row >= 0) SelectRow(row);
  // The field takes any typed size, so a font this dialog returned may be beyond the spinner's
  // 16-bit position; it shows the nearest end of its range, and the font keeps its size.
  UdSize->SetPosition(std::clamp<int>(Font.Size, INT16_MIN, INT16_MAX));
  SbBold->setChecked(Font.HasStyle(fsBold));
  SbItalic->setChecked(Font.HasStyle(fsItalic));
  SbUnderLine->setChecked(Font.HasStyle(fsUnderline));
  SbStrikeOut->setChecked(Font.HasStyle(fsStrikeOut));
  LBoxClick(LBox);
}

void TFontForm::LBoxDrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected, bool Focused) {
  Canvas.save();
  Canvas.setFont(LBox->font());
  const QFontMetrics metrics = Canvas.fontMetrics();
  const int dy = (Rect.height() - metrics.height()) / 2;
  const QColor back = Selected ? ToQColor(clClassicHighlight) : QColor(Qt::white);
  const QColor text = Selected ? QColor(Qt::white) : QColor(Qt::black);
  Canvas.fillRect(Rect, back);
  Canvas.setClipRect(Rect);
  Canvas.setPen(text);
  Canvas.drawText(Rect.left() + 3, Rect.top() + dy + metrics.ascent(), LBox->item(Index)->text());
  if (Focused) DrawFocusRect(Canvas, Rect, text);
  Canvas.restore();
}

void TFontForm::LBoxClick(QObject*) {
  const QList<QListWidgetItem*> selected = LBox->selectedItems();
  if (selected.isEmpty()) return;
  const QListWidgetItem* item = selected.first();
  const uint8_t cs = static_cast<uint8_t>(item->data(Qt::UserRole).toUInt());
  static const TCodePage samples("CP932");
  SampleText = samples.ToUnicode(PreviewSamples[cs == SYMBOL_CHARSET ? 1 : cs == SHIFTJIS_CHARSET ? 2 : 0]);
  WorkingFont().Name = item->text();
  WorkingFont().Charset = cs;
  RenderPreview();
}

void TFontForm::SbBoldClick(QObject*) {
  TFontStyles style = 0;
  if (SbBold->isChecked()) style |= fsBold;
  if (SbItalic->isChecked()) style |= fsItalic;
  if (SbUnderLine->isChecked()) style |= fsUnderline;
  if (SbStrikeOut->isChecked()) style |= fsStrikeOut;
  WorkingFont().Style = style;
  RenderPreview();
}

void TFontForm::EdtSizeChange(QObject*) {
  // Replacing the text runs this handler again, nested, for the spinner's position.
  if (StrToIntDef(EdtSize->text(), 0) < 1) EdtSize->setText(QString::number(UdSize->Position()));
  WorkingFont().Size = StrToInt(EdtSize->text());
  RenderPreview();
}

void TFontForm::BtnColorClick(QObject*) {
  TColor color = WorkingFont().Color;
  if (ShowColorPicker(this, color)) WorkingFont().Color = color;
  RenderPreview();
}

void TFontForm::RenderPreview() {
  TCanvas& canvas = PreviewBitmap.Canvas();
  canvas.Brush.Color = clWhite;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.FillRect({0, 0, PreviewBitmap.Width(), PreviewBitmap.Height()});
  const int32_t w = canvas.TextWidth(SampleText);
  const int32_t h = canvas.TextHeight(SampleText);
  canvas.TextOut(CheckedSub(PreviewBitmap.Width(), w) / 2, CheckedSub(PreviewBitmap.Height(), h) / 2, SampleText);
  PBox->repaint();
}

void TFontForm::PBoxPaint(QObject*) { PBox->Canvas().Draw(0, 0, PreviewBitmap.Image()); }

void TFontForm::WMFontChange() {
  FillFontList();
  LBoxClick(LBox);
}

bool ShowFontPicker(QWidget* owner, TFont& font) {
  TFontForm form(owner);
  const QRect frame = owner->frameGeometry();
  form.move(frame.x() + frame.width(), frame.y());
  form.WorkingFont() = font;
  if (ShowModal(form) != mrOk) return false;
  font = form.WorkingFont();
  return true;
}
