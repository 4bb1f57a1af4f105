#include "pickers/Misc.h"

#include "toolkit/Checked.h"
#include "toolkit/CodePage.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QValidator>

#include <algorithm>
#include <string>

// --- The font picker's family list and preview samples ---

int FontEnumProc(const QString& faceName, uint8_t charset, TFontNames& list) {
  if (!faceName.startsWith(QLatin1Char('@'))) list.append({faceName, charset});
  return 1;
}

namespace {
unsigned char FoldAsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }
}  // namespace

int CompareFontEntries(const TFontEntry& a, const TFontEntry& b) {
  if (a.Charset != b.Charset) return int(a.Charset) - int(b.Charset);
  const std::string x = TCodePage::System().FromUnicode(a.Name);
  const std::string y = TCodePage::System().FromUnicode(b.Name);
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const unsigned char cx = FoldAsciiUpper(static_cast<unsigned char>(x[i]));
    const unsigned char cy = FoldAsciiUpper(static_cast<unsigned char>(y[i]));
    if (cx != cy) return int(cx) - int(cy);
  }
  return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

// "Aaあぁアァ亜宇" in Shift-JIS.
const std::array<std::string_view, 3> PreviewSamples = {
    "AaBbYyZz012",
    "Symbol012",
    "\x41\x61\x82\xA0\x82\x9F\x83\x41\x83\x40\x88\x9F\x89\x46",
};

// --- The colour picker's palette, grid and sliders ---

const std::array<std::string_view, 216> Palette216 = {
    "#000000", "#000033", "#000066", "#000099", "#0000cc", "#0000ff",
    "#003300", "#003333", "#003366", "#003399", "#0033cc", "#0033ff",
    "#006600", "#006633", "#006666", "#006699", "#0066cc", "#0066ff",
    "#009900", "#009933", "#009966", "#009999", "#0099cc", "#0099ff",
    "#00cc00", "#00cc33", "#00cc66", "#00cc99", "#00cccc", "#00ccff",
    "#00ff00", "#00ff33", "#00ff66", "#00ff99", "#00ffcc", "#00ffff",
    "#330000", "#330033", "#330066", "#330099", "#3300cc", "#3300ff",
    "#333300", "#333333", "#333366", "#333399", "#3333cc", "#3333ff",
    "#336600", "#336633", "#336666", "#336699", "#3366cc", "#3366ff",
    "#339900", "#339933", "#339966", "#339999", "#3399cc", "#3399ff",
    "#33cc00", "#33cc33", "#33cc66", "#33cc99", "#33cccc", "#33ccff",
    "#33ff00", "#33ff33", "#33ff66", "#33ff99", "#33ffcc", "#33ffff",
    "#660000", "#660033", "#660066", "#660099", "#6600cc", "#6600ff",
    "#663300", "#663333", "#663366", "#663399", "#6633cc", "#6633ff",
    "#666600", "#666633", "#666666", "#666699", "#6666cc", "#6666ff",
    "#669900", "#669933", "#669966", "#669999", "#6699cc", "#6699ff",
    "#66cc00", "#66cc33", "#66cc66", "#66cc99", "#66cccc", "#66ccff",
    "#66ff00", "#66ff33", "#66ff66", "#66ff99", "#66ffcc", "#66ffff",
    "#990000", "#990033", "#990066", "#990099", "#9900cc", "#9900ff",
    "#993300", "#993333", "#993366", "#993399", "#9933cc", "#9933ff",
    "#996600", "#996633", "#996666", "#996699", "#9966cc", "#9966ff",
    "#999900", "#999933", "#999966", "#999999", "#9999cc", "#9999ff",
    "#99cc00", "#99cc33", "#99cc66", "#99cc99", "#99cccc", "#99ccff",
    "#99ff00", "#99ff33", "#99ff66", "#99ff99", "#99ffcc", "#99ffff",
    "#cc0000", "#cc0033", "#cc0066", "#cc0099", "#cc00cc", "#cc00ff",
    "#cc3300", "#cc3333", "#cc3366", "#cc3399", "#cc33cc", "#cc33ff",
    "#cc6600", "#cc6633", "#cc6666", "#cc6699", "#cc66cc", "#cc66ff",
    "#cc9900", "#cc9933", "#cc9966", "#cc9999", "#cc99cc", "#cc99ff",
    "#cccc00", "#cccc33", "#cccc66", "#cccc99", "#cccccc", "#ccccff",
    "#ccff00", "#ccff33", "#ccff66", "#ccff99", "#ccffcc", "#ccffff",
    "#ff0000", "#ff0033", "#ff0066", "#ff0099", "#ff00cc", "#ff00ff",
    "#ff3300", "#ff3333", "#ff3366", "#ff3399", "#ff33cc", "#ff33ff",
    "#ff6600", "#ff6633", "#ff6666", "#ff6699", "#ff66cc", "#ff66ff",
    "#ff9900", "#ff9933", "#ff9966", "#ff9999", "#ff99cc", "#ff99ff",
    "#ffcc00", "#ffcc33", "#ffcc66", "#ffcc99", "#ffcccc", "#ffccff",
    "#ffff00", "#ffff33", "#ffff66", "#ffff99", "#ffffcc", "#ffffff",
};

TColor HexToColor(std::string_view text, TColor Default) {
  // Characters 2-3, 4-5 and 6-7 (from 1) are red, green and blue; a short text gives short
  // pairs, as substrings past the end are empty.
  const auto pair = [text](std::size_t from) {
    return std::string(from < text.size() ? text.substr(from, 2) : std::string_view());
  };
  const std::string digits = "00" + pair(5) + pair(3) + pair(1);
  TColor value = 0;
  for (const char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return Default;
    value = value * 16 + digit;  // at most eight digits led by "00": never overflows
  }
  return value;
}

void FillPaletteGrid(QTableWidget& grid) {
  for (int c = 0; c < 36; ++c)
    for (int r = 0; r < 6; ++r) {
      const TColor color = HexToColor(Palette216[r + 36 * (c / 6) + 6 * (c % 6)], 0);
      grid.setItem(r, c, new QTableWidgetItem(QString::number(color)));
    }
}

void BuildGradientBitmap(TBitmap& bitmap) {
  bitmap.SetSize(256, 3);
  for (int32_t k = 0; k < 3; ++k) {
    uint8_t* row = bitmap.ScanLine(k);
    for (int32_t x = 0; x < 256; ++x) {
      // Bytes blue, green, red: channel k sits at byte 2 - k of the pixel.
      uint8_t* pixel = row + 3 * x;
      pixel[0] = pixel[1] = pixel[2] = 0;
      pixel[2 - k] = static_cast<uint8_t>(x);
    }
  }
}

void DrawSliderMarker(TCanvas& canvas, int32_t x, int32_t y) {
  const int width = canvas.Pen.Width;
  canvas.Pen.Width = 3;
  DrawLineBy(canvas, CheckedSub(x, 4), y, 2, 0);
  DrawLineBy(canvas, CheckedAdd(x, 2), y, 2, 0);
  DrawLineBy(canvas, x, CheckedSub(y, 4), 0, 2);
  DrawLineBy(canvas, x, CheckedAdd(y, 2), 0, 2);
  canvas.Pen.Width = width;
}

void DrawLineBy(TCanvas& canvas, int32_t x, int32_t y, int32_t dx, int32_t dy) {
  canvas.MoveTo(x, y);
  canvas.LineTo(CheckedAdd(x, dx), CheckedAdd(y, dy));
}

TRect GetControlScreenRect(const QWidget& control) {
  const QPoint origin = control.mapToGlobal(QPoint(0, 0));
  return {origin.x(), origin.y(), CheckedAdd(origin.x(), control.width()),
          CheckedAdd(origin.y(), control.height())};
}

// --- Numeric-only edit fields ---

namespace {
bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Whether `text` holds a character that is neither a digit nor a control character (Backspace,
// Return and the Ctrl+letter shortcuts come with control characters as their text).
bool HasNonDigit(const QString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return !IsAsciiDigit(c) && c.unicode() >= 0x20 && c.unicode() != 0x7F; });
}

// Lets only digits into the edit. Keystrokes and input-method text are judged by what they
// type, whatever the edit holds. Pasted or dropped text reaches the edit as a change, which the
// validator judges against the edit's last text: whatever the change inserts must be digits.
// Text the program sets is taken as it is; judging it would leave the edit believing its input
// invalid, and then the next keystroke, whatever it is, would get in unchecked.
class TNumericFilter : public QValidator {
 public:
  explicit TNumericFilter(QLineEdit* edit) : QValidator(edit), edit_(edit), last_(edit->text()) {
    edit->installEventFilter(this);
  }

  // Every change of the edit's text passes here, also one made while the edit's signals are
  // blocked, so the last text accepted is the text the edit holds.
  State validate(QString& input, int&) const override {
    // A user's change leaves the edit modified; the program's setText does not.
    if (edit_->isModified() && HasNonDigit(Inserted(input))) return Invalid;
    last_ = input;
    return Acceptable;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
      // With Ctrl or Meta held a key is a shortcut (Ctrl+V pastes), not typing.
      const auto* key = static_cast<QKeyEvent*>(event);
      return !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && HasNonDigit(key->text());
    }
    if (watched == edit_ && event->type() == QEvent::InputMethod)
      return HasNonDigit(static_cast<QInputMethodEvent*>(event)->commitString());
    return QValidator::eventFilter(watched, event);
  }

 private:
  // What `text` puts in place of the last text between what it keeps of it at either end.
  QString Inserted(const QString& text) const {
    qsizetype prefix = 0;
    while (prefix < text.size() && prefix < last_.size() && text[prefix] == last_[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < text.size() - prefix && suffix < last_.size() - prefix &&
           text[text.size() - 1 - suffix] == last_[last_.size() - 1 - suffix])
      ++suffix;
    return text.mid(prefix, text.size() - prefix - suffix);
  }

  QLineEdit* edit_;
  mutable QString last_;
};
}  // namespace

void MakeNumericEdit(QLineEdit* edit) { edit->setValidator(new TNumericFilter(edit)); }
