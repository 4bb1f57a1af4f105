// The layer panel's editors: the text memo, the two spacing fields, the nine alignment buttons,
// and the layer's and the composition's font and colour through the pickers.
#include "tests/panel/PanelFixture.h"

#include "pickers/ColorUnit.h"
#include "pickers/FontUnit.h"
#include "tests/support/ScopedCodePage.h"
#include "toolkit/CellGrid.h"
#include "toolkit/CodePage.h"
#include "toolkit/UpDown.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <memory>
#include <string>

namespace {

std::vector<int32_t> LineSpans() {
  std::vector<int32_t> spans;
  for (int32_t i = 0; i < Composition->LayerCount(); ++i) spans.push_back(Composition->GetLayer(i).LineSpan);
  return spans;
}

std::vector<int32_t> CharSpans() {
  std::vector<int32_t> spans;
  for (int32_t i = 0; i < Composition->LayerCount(); ++i) spans.push_back(Composition->GetLayer(i).CharSpan);
  return spans;
}

// The smallest rectangle holding every pixel of `image` that is not white.
QRect Ink(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink;
}

bool Shows(const QImage& image, QRgb color) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == color) return true;
  return false;
}

// Types `text` into `widget` one character at a time, whatever its script.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// --- The memo ---

TEST_F(PanelTest, TwoSelectedLayersFollowEachKeystroke) {
  MakeLayers({"P", "Q", "R"});
  ClickRow(0);
  ClickRow(2, Qt::ControlModifier);
  form->MemText->selectAll();
  Settle();
  const std::pair<char, const char*> steps[] = {{'a', "a"}, {'b', "ab"}};
  for (const auto& [key, text] : steps) {
    QTest::keyClick(form->MemText, key);
    EXPECT_EQ(Texts(), (std::vector<std::string>{text, "Q", text})) << text;
    EXPECT_EQ(log.Entries, (Repaints{"list", "canvas"})) << text;
    Settle();
  }
}

TEST_F(PanelTest, LayersStoreTheMemoTrimmedWithTheirLineBreaks) {
  MakeLayers({"P"});
  ClickRow(0);
  form->MemText->selectAll();
  QTest::keyClicks(form->MemText, QStringLiteral("  a"));
  QTest::keyClick(form->MemText, Qt::Key_Return);
  QTest::keyClick(form->MemText, Qt::Key_Return);
  QTest::keyClicks(form->MemText, QStringLiteral("b  "));
  QTest::keyClick(form->MemText, Qt::Key_Return);
  EXPECT_EQ(form->MemText->toPlainText(), "  a\n\nb  \n");
  EXPECT_EQ(Composition->GetLayer(0).Text, "a\xFF\xFF\xFF\xFF" "b");
  EXPECT_EQ(Composition->GetLayer(0).GetText(), "a\r\n\r\nb");
}

TEST_F(PanelTest, WithNothingSelectedTheMemoOnlyRedraws) {
  MakeLayers({"P"});
  Settle();
  QTest::keyClick(form->MemText, 'x');
  EXPECT_EQ(Texts(), std::vector<std::string>{"P"});
  EXPECT_EQ(log.Entries, (Repaints{"list", "canvas"}));
}

// The layers hold bytes of the system code page; the memo shows them as text.
TEST_F(PanelTest, TextTravelsInTheSystemCodePage) {
  struct Case {
    const char* codePage;
    const char* stored;  // a layer's text, as GetText gives it
    QString shown;       // in the memo
  };
  const Case cases[] = {
      {"CP932", "\x82\xA0\r\n\x83\x65\x83\x4C\x83\x58\x83\x67", QString::fromUtf8("あ\nテキスト")},
      {"UTF-8", "\xC3\xA9t\xC3\xA9\r\n\xE2\x82\xAC", QString::fromUtf8("été\n€")},
      {"ISO-8859-1", "\xE9t\xE9", QString::fromUtf8("été")},
  };
  MakeLayers({"", "", "", "", "", ""});
  for (int i = 0; i < 3; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.codePage);
    const ScopedCodePage codePage(c.codePage);
    // Loading: the first layer's bytes come into the memo as text.
    Composition->GetLayer(2 * i).SetText(c.stored);
    ClickRow(2 * i);
    EXPECT_EQ(form->MemText->toPlainText(), c.shown);
    EXPECT_EQ(Composition->GetLayer(2 * i).GetText(), c.stored);
    // Typing: the memo's text goes back as bytes.
    ClickRow(2 * i + 1);
    form->MemText->selectAll();
    TypeText(form->MemText, c.shown.section(QLatin1Char('\n'), 0, 0));
    for (const QString& line : c.shown.split(QLatin1Char('\n')).mid(1)) {
      QTest::keyClick(form->MemText, Qt::Key_Return);
      TypeText(form->MemText, line);
    }
    EXPECT_EQ(Composition->GetLayer(2 * i + 1).GetText(), c.stored);
  }
}

// --- The spacing fields ---

enum class Act { Key1, Key5, Key0, KeyMinus, Clear, KeyDown, KeyUp, DownButton, UpButton, SelectAll };

struct SpanStep {
  Act act;
  const char* text;  // in the edit afterwards
  int32_t applied;   // to the selected layers
  int paints;        // canvas repaints
};

struct SpanCase {
  const char* name;
  bool charSpan;
  int32_t start;  // the spinner's position before
  std::vector<SpanStep> steps;
};

class PanelSpanTest : public PanelTest, public ::testing::WithParamInterface<SpanCase> {};

TEST_P(PanelSpanTest, SpinnerAndEditApplyToTheSelectedLayers) {
  const SpanCase& c = GetParam();
  QLineEdit* edit = c.charSpan ? form->EditCharSpan : form->EditLineSpan;
  TUpDown* spinner = c.charSpan ? form->UdCharSpan : form->UdLineSpan;
  MakeLayers({"P", "Q", "R"});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  spinner->SetPosition(c.start);
  Settle();
  for (const SpanStep& step : c.steps) {
    switch (step.act) {
      case Act::Key1: QTest::keyClick(edit, Qt::Key_1); break;
      case Act::Key5: QTest::keyClick(edit, Qt::Key_5); break;
      case Act::Key0: QTest::keyClick(edit, Qt::Key_0); break;
      case Act::KeyMinus: QTest::keyClick(edit, Qt::Key_Minus); break;
      case Act::Clear:
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        break;
      case Act::KeyDown: QTest::keyClick(edit, Qt::Key_Down); break;
      case Act::KeyUp: QTest::keyClick(edit, Qt::Key_Up); break;
      case Act::DownButton: QTest::mouseClick(spinner->DownButton(), Qt::LeftButton); break;
      case Act::UpButton: QTest::mouseClick(spinner->UpButton(), Qt::LeftButton); break;
      case Act::SelectAll: edit->selectAll(); break;
    }
    const std::string at = std::string("after the step giving ") + step.text;
    EXPECT_EQ(edit->text(), step.text) << at;
    const std::vector<int32_t> changed = c.charSpan ? CharSpans() : LineSpans();
    const std::vector<int32_t> untouched = c.charSpan ? LineSpans() : CharSpans();
    EXPECT_EQ(changed, (std::vector<int32_t>{step.applied, step.applied, 0})) << at;
    EXPECT_EQ(untouched, (std::vector<int32_t>{0, 0, 0})) << at;
    EXPECT_EQ(log.Entries, Repaints(step.paints, "canvas")) << at;
    Settle();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelSpanTest,
    ::testing::Values(
        // 150 stays in the edit, but the spinner keeps 15, its last position in range.
        SpanCase{"TypedOneFiveZero", false, 0,
                 {{Act::SelectAll, "0", 0, 0}, {Act::Key1, "1", 1, 1}, {Act::Key5, "15", 15, 1},
                  {Act::Key0, "150", 15, 1}, {Act::Clear, "15", 15, 2}, {Act::KeyDown, "14", 14, 1}}},
        SpanCase{"CharSpanTypedOneFiveZero", true, 0,
                 {{Act::SelectAll, "0", 0, 0}, {Act::Key1, "1", 1, 1}, {Act::Key5, "15", 15, 1},
                  {Act::Key0, "150", 15, 1}}},
        // Emptied, the edit takes the spinner's position back at once, in a nested run.
        SpanCase{"ClearedAtZero", false, 0, {{Act::Clear, "0", 0, 2}}},
        SpanCase{"DownFromZero", false, 0,
                 {{Act::KeyDown, "-1", -1, 1}, {Act::DownButton, "-2", -2, 1}, {Act::Clear, "-2", -2, 2},
                  {Act::KeyMinus, "-2", -2, 0}}},
        SpanCase{"CharSpanDownFromZero", true, 0, {{Act::KeyDown, "-1", -1, 1}, {Act::UpButton, "0", 0, 1}}},
        SpanCase{"SpinnerStopsAtTheEnds", false, 100,
                 {{Act::KeyUp, "100", 100, 0}, {Act::DownButton, "99", 99, 1}}},
        SpanCase{"BottomEnd", true, -100, {{Act::KeyDown, "-100", -100, 0}, {Act::Clear, "-100", -100, 2}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, SpacingWithNothingSelectedOnlyRedraws) {
  MakeLayers({"P"});
  Settle();
  QTest::keyClick(form->EditLineSpan, Qt::Key_Down);
  QTest::keyClick(form->EditCharSpan, Qt::Key_Up);
  EXPECT_EQ(form->EditLineSpan->text(), "-1");
  EXPECT_EQ(form->EditCharSpan->text(), "1");
  EXPECT_EQ(LineSpans(), std::vector<int32_t>{0});
  EXPECT_EQ(CharSpans(), std::vector<int32_t>{0});
  EXPECT_EQ(log.Entries, (Repaints{"canvas", "canvas"}));
}

// A spacing field that the selection loaded with a negative value takes only digits after it.
TEST_F(PanelTest, SpacingFieldsLoadedNegativeTakeOnlyDigits) {
  MakeLayers({"P"});
  Composition->GetLayer(0).LineSpan = -5;
  Composition->GetLayer(0).CharSpan = -7;
  ClickRow(0);
  ASSERT_EQ(form->EditLineSpan->text(), "-5");
  ASSERT_EQ(form->EditCharSpan->text(), "-7");
  QTest::keyClicks(form->EditLineSpan, "a-0");
  QTest::keyClicks(form->EditCharSpan, "x-1");
  EXPECT_EQ(form->EditLineSpan->text(), "-50");
  EXPECT_EQ(form->EditCharSpan->text(), "-71");
  EXPECT_EQ(LineSpans(), std::vector<int32_t>{-50});
  EXPECT_EQ(CharSpans(), std::vector<int32_t>{-71});
}

// --- Alignment ---

struct AlignCase {
  QToolButton* TLayerForm::*button;
  int tag;
};

class PanelAlignTest : public PanelTest, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(PanelAlignTest, PlacesTheSelectedLayersAtTheButtonsAnchor) {
  const AlignCase& c = GetParam();
  MakeLayers({"Wide text", "Not selected", "Two\r\nlines"});
  for (int32_t i = 0; i < 3; ++i) {
    Composition->GetLayer(i).Left = 33;
    Composition->GetLayer(i).Top = 44;
  }
  // An anchor of before, which the button's replaces where it places the layer.
  const uint8_t before = static_cast<uint8_t>((c.tag + 1) % 9);
  Composition->GetLayer(0).Anchor = before;
  Composition->GetLayer(1).Anchor = before;
  ClickRow(0);
  ClickRow(2, Qt::ControlModifier);
  Settle();
  QToolButton* button = form->*c.button;
  EXPECT_EQ(button->property("Tag").toInt(), c.tag);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(form->WorkValue, c.tag);
  for (int32_t i : {0, 2}) {
    const TZeltoLayer& layer = Composition->GetLayer(i);
    ASSERT_GT(layer.BlockWidth, 0);
    ASSERT_GT(layer.BlockHeight, 0);
    const int32_t left[] = {0, (200 - layer.BlockWidth) / 2, 200 - layer.BlockWidth};
    const int32_t top[] = {0, (200 - layer.BlockHeight) / 2, 200 - layer.BlockHeight};
    EXPECT_EQ(layer.Left, left[c.tag % 3]) << "layer " << i;
    EXPECT_EQ(layer.Top, top[c.tag / 3]) << "layer " << i;
    EXPECT_EQ(layer.Anchor, c.tag) << "layer " << i;
  }
  EXPECT_EQ(Composition->GetLayer(1).Left, 33);
  EXPECT_EQ(Composition->GetLayer(1).Top, 44);
  EXPECT_EQ(Composition->GetLayer(1).Anchor, before);
  EXPECT_EQ(log.Entries, Repaints{"canvas"});
}

INSTANTIATE_TEST_SUITE_P(Buttons, PanelAlignTest,
                         ::testing::Values(AlignCase{&TLayerForm::BtnLT, 0}, AlignCase{&TLayerForm::BtnCT, 1},
                                           AlignCase{&TLayerForm::BtnRT, 2}, AlignCase{&TLayerForm::BtnLC, 3},
                                           AlignCase{&TLayerForm::BtnCC, 4}, AlignCase{&TLayerForm::BtnRC, 5},
                                           AlignCase{&TLayerForm::BtnLB, 6}, AlignCase{&TLayerForm::BtnCB, 7},
                                           AlignCase{&TLayerForm::BtnRB, 8}),
                         [](const auto& info) { return std::to_string(info.param.tag); });

TEST_F(PanelTest, CentreButtonCentresTheTextOnTheCanvas) {
  MakeLayers({"Centre"});
  ClickRow(0);
  QTest::mouseClick(form->BtnCC, Qt::LeftButton);
  const QRect ink = Ink(GrabCanvas());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.left() + ink.right() + 1, 200, 4);
  EXPECT_NEAR(ink.top() + ink.bottom() + 1, 200, 8);
}

TEST_F(PanelTest, AlignmentWithoutSelectionOrWithoutLayers) {
  Settle();
  QTest::mouseClick(form->BtnRB, Qt::LeftButton);
  EXPECT_EQ(form->WorkValue, 8);
  EXPECT_TRUE(log.Entries.empty());  // no rows: nothing is redrawn

  MakeLayers({"P"});
  Settle();
  QTest::mouseClick(form->BtnCC, Qt::LeftButton);
  EXPECT_EQ(form->WorkValue, 4);
  EXPECT_EQ(Composition->GetLayer(0).Left, 0);
  EXPECT_EQ(Composition->GetLayer(0).Top, 0);
  EXPECT_EQ(log.Entries, Repaints{"canvas"});
}

// --- Fonts and colours through the pickers ---

// Picks the red of the colour grid and confirms; what was painted while the picker was open
// leaves the log.
void PickRed(TColorForm& picker, RepaintLog& log) {
  const QModelIndex red = picker.SG->model()->index(0, 30);
  QTest::mouseClick(picker.SG->viewport(), Qt::LeftButton, Qt::NoModifier, picker.SG->visualRect(red).center());
  log.Entries.clear();
  QTest::mouseClick(picker.BitBtn1, Qt::LeftButton);
}

constexpr QRgb kRed = qRgb(255, 0, 0);

TEST_F(PanelTest, DefaultFontThenLayerColourStory) {
  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  const TFont a = Composition->DefaultFont();
  TZeltoLayer& layer = Composition->GetLayer(0);
  ASSERT_EQ(layer.Font, a);
  const QRect inkA = Ink(GrabCanvas());
  ASSERT_FALSE(inkA.isEmpty());

  // The default font becomes B, twice as large: the layer, on the default font, follows.
  TFont b;
  {
    Settle();
    ModalAnswer<TFontForm> answer([this, &b](TFontForm& picker) {
      picker.EdtSize->selectAll();
      QTest::keyClicks(picker.EdtSize, QStringLiteral("20"));
      b = picker.WorkingFont();
      log.Entries.clear();
      QTest::mouseClick(picker.BtnSet, Qt::LeftButton);
    });
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(answer.Opened);
  }
  EXPECT_EQ(b.Size, 20);
  EXPECT_EQ(Composition->DefaultFont(), b);
  EXPECT_EQ(log.Entries, Repaints{"canvas"});
  EXPECT_TRUE(layer.UseDefaultFont);
  EXPECT_EQ(layer.Font, a);
  const QRect inkB = Ink(GrabCanvas());
  EXPECT_GT(inkB.height(), inkA.height() * 3 / 2);

  // The layer's font button offers the layer's own font, A; cancelled, nothing changes.
  {
    Settle();
    ModalAnswer<TFontForm> answer([this, &a](TFontForm& picker) {
      EXPECT_EQ(picker.WorkingFont().Size, a.Size);
      EXPECT_EQ(picker.WorkingFont().Color, a.Color);
      log.Entries.clear();
      QTest::mouseClick(picker.BitBtn1, Qt::LeftButton);
    });
    QTest::mouseClick(form->BtnFont, Qt::LeftButton);
    EXPECT_TRUE(answer.Opened);
  }
  EXPECT_TRUE(log.Entries.empty());
  EXPECT_TRUE(layer.UseDefaultFont);

  // Red from the colour button: the layer draws in its own font, A, in red.
  {
    Settle();
    ModalAnswer<TColorForm> answer([this](TColorForm& picker) {
      EXPECT_EQ(picker.SelectedColor, ColorToRGB(clWindowText));  // where the picker started
      PickRed(picker, log);
    });
    QTest::mouseClick(form->BtnColor, Qt::LeftButton);
    EXPECT_TRUE(answer.Opened);
  }
  EXPECT_FALSE(layer.UseDefaultFont);
  TFont redA = a;
  redA.Color = clRed;
  EXPECT_EQ(layer.Font, redA);
  EXPECT_EQ(log.Entries, (Repaints{"list", "canvas"}));
  const QImage canvas = GrabCanvas();
  EXPECT_EQ(Ink(canvas), inkA);
  EXPECT_TRUE(Shows(canvas, kRed));
  // The row's default-font box is clear: no mark in it.
  Settle();
  const QImage row = GrabList().copy(18, 0, 18, 18);
  EXPECT_FALSE(Shows(row, qRgb(0, 0, 0)));
  EXPECT_TRUE(Shows(GrabList().copy(0, 0, 18, 18), qRgb(0, 0, 0)));
}

TEST_F(PanelTest, LayerFontButtonGivesEverySelectedLayerTheChosenFont) {
  MakeLayers({"P", "Q", "R"});
  ClickRow(1);
  ClickRow(2, Qt::ControlModifier);
  Composition->GetLayer(1).Font.Size = 15;
  Composition->GetLayer(2).Font.Style = fsBold;
  TFont chosen;
  Settle();
  ModalAnswer<TFontForm> answer([this, &chosen](TFontForm& picker) {
    EXPECT_EQ(picker.WorkingFont().Size, 15);  // the first selected layer's own font
    picker.EdtSize->selectAll();
    QTest::keyClicks(picker.EdtSize, QStringLiteral("12"));
    QTest::mouseClick(picker.SbItalic, Qt::LeftButton);
    chosen = picker.WorkingFont();
    log.Entries.clear();
    QTest::mouseClick(picker.BtnSet, Qt::LeftButton);
  });
  QTest::mouseClick(form->BtnFont, Qt::LeftButton);
  ASSERT_TRUE(answer.Opened);
  EXPECT_EQ(chosen.Size, 12);
  EXPECT_EQ(chosen.Style, fsItalic);
  for (int32_t i : {1, 2}) {
    EXPECT_FALSE(Composition->GetLayer(i).UseDefaultFont);
    EXPECT_EQ(Composition->GetLayer(i).Font, chosen);
  }
  EXPECT_TRUE(Composition->GetLayer(0).UseDefaultFont);
  EXPECT_EQ(Composition->GetLayer(0).Font, TFont{});
  EXPECT_EQ(*form->WorkFont, chosen);
  EXPECT_EQ(log.Entries, (Repaints{"list", "canvas"}));
}

TEST_F(PanelTest, DefaultColourWithoutLayersReachesLayersAddedLater) {
  Settle();
  ModalAnswer<TColorForm> answer([this](TColorForm& picker) {
    EXPECT_EQ(picker.SelectedColor, ColorToRGB(clWindowText));
    PickRed(picker, log);
  });
  QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
  ASSERT_TRUE(answer.Opened);
  EXPECT_EQ(Composition->DefaultFont().Color, clRed);
  EXPECT_EQ(log.Entries, Repaints{"canvas"});

  QTest::mouseClick(form->BtnAdd, Qt::LeftButton);
  const TZeltoLayer& layer = Composition->GetLayer(0);
  EXPECT_TRUE(layer.UseDefaultFont);
  EXPECT_EQ(layer.Font.Color, clRed);
  EXPECT_TRUE(Shows(GrabCanvas(), kRed));
}

TEST_F(PanelTest, DefaultColourRecoloursLayersOnTheDefaultFontOnly) {
  MakeLayers({"On default", "Own font"});
  Composition->GetLayer(0).Left = 0;
  Composition->GetLayer(1).Top = 100;
  Composition->GetLayer(1).UseDefaultFont = false;
  ModalAnswer<TColorForm> answer([this](TColorForm& picker) { PickRed(picker, log); });
  QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
  ASSERT_TRUE(answer.Opened);
  const QImage canvas = GrabCanvas();
  EXPECT_TRUE(Shows(canvas.copy(0, 0, 200, 50), kRed));
  EXPECT_FALSE(Shows(canvas.copy(0, 100, 200, 50), kRed));
  EXPECT_EQ(Composition->GetLayer(1).Font.Color, clWindowText);
}

// Each picker button, with its picker cancelled, or without a selection where it needs one.
struct PickerCase {
  const char* name;
  QAbstractButton* (*button)(TLayerForm&);
  bool select;
  bool opens;
};

class PanelPickerTest : public PanelTest, public ::testing::WithParamInterface<PickerCase> {};

TEST_P(PanelPickerTest, CancelOrNoSelectionChangesNothing) {
  const PickerCase& c = GetParam();
  MakeLayers({"P"});
  if (c.select) ClickRow(0);
  const TFont defaultFont = Composition->DefaultFont();
  Settle();
  // The pickers close the way the user cancels: with Esc.
  // What the panel repaints of its own accord as the dialog takes the focus is left out.
  ModalAnswer<QDialog> answer([this](QDialog& picker) {
    Settle();
    QTest::keyClick(&picker, Qt::Key_Escape);
  });
  QTest::mouseClick(c.button(*form), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(answer.Opened, c.opens);
  const TZeltoLayer& layer = Composition->GetLayer(0);
  EXPECT_TRUE(layer.UseDefaultFont);
  EXPECT_EQ(layer.Font, TFont{});
  EXPECT_EQ(Composition->DefaultFont(), defaultFont);
  EXPECT_EQ(log.Entries, Repaints{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelPickerTest,
    ::testing::Values(
        PickerCase{"FontCancelled", [](TLayerForm& f) -> QAbstractButton* { return f.BtnFont; }, true, true},
        PickerCase{"ColourCancelled", [](TLayerForm& f) -> QAbstractButton* { return f.BtnColor; }, true, true},
        PickerCase{"DefaultFontCancelled", [](TLayerForm& f) -> QAbstractButton* { return f.BitBtn1; }, false, true},
        PickerCase{"DefaultColourCancelled", [](TLayerForm& f) -> QAbstractButton* { return f.BitBtn2; }, false,
                   true},
        PickerCase{"FontWithoutSelection", [](TLayerForm& f) -> QAbstractButton* { return f.BtnFont; }, false,
                   false},
        PickerCase{"ColourWithoutSelection", [](TLayerForm& f) -> QAbstractButton* { return f.BtnColor; }, false,
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
