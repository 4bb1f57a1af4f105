// Misc: the font list's order and preview samples, the colour picker's palette and drawing
// routines, numeric-only edits, the undo and redo keys and the buttons' pictures.
#include "pickers/Misc.h"

#include "tests/support/CaseName.h"
#include "tests/support/PrintTo.h"
#include "tests/support/ScopedCodePage.h"
#include "toolkit/CodePage.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

QString Sjis(std::string_view bytes) { return TCodePage("CP932").ToUnicode(bytes); }

// --- The font picker's family list and preview samples ---

// The system code page decides the byte order of names; every case names the one it runs in.
struct OrderCase {
  const char* name;
  const char* codePage;
  TFontEntry first;
  TFontEntry second;
  int expected;  // sign of the comparison of `first` with `second`
};

int Sign(int v) { return (v > 0) - (v < 0); }

class FontOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(FontOrder, ComparesCharsetThenFoldedBytes) {
  const OrderCase& c = GetParam();
  const ScopedCodePage codePage(c.codePage);
  EXPECT_EQ(Sign(CompareFontEntries(c.first, c.second)), c.expected) << c.name;
  EXPECT_EQ(Sign(CompareFontEntries(c.second, c.first)), -c.expected) << c.name << " (swapped)";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontOrder,
    ::testing::Values(
        OrderCase{"lower charset first, whatever the name", "UTF-8", {"Zeta", 0}, {"Alpha", 2}, -1},
        OrderCase{"symbol before Shift-JIS", "UTF-8", {"Zeta", 2}, {"Alpha", 128}, -1},
        OrderCase{"Shift-JIS before OEM", "UTF-8", {"Zeta", 128}, {"Alpha", 255}, -1},
        OrderCase{"charset difference is the result's sign", "UTF-8", {"A", 255}, {"A", 0}, 1},
        OrderCase{"names in one charset", "UTF-8", {"Arial", 0}, {"Courier", 0}, -1},
        OrderCase{"ASCII case is folded", "UTF-8", {"arial", 0}, {"ARIAL", 0}, 0},
        OrderCase{"folded to upper case: a comes before the underscore", "UTF-8", {"a", 0}, {"_", 0}, -1},
        OrderCase{"a prefix before the longer name", "UTF-8", {"Arial", 0}, {"arial Black", 0}, -1},
        OrderCase{"empty name before any other", "UTF-8", {"", 0}, {"A", 0}, -1},
        OrderCase{"bytes are unsigned", "UTF-8", {"z", 0}, {"\u00e9", 0}, -1},
        OrderCase{"only ASCII is folded", "UTF-8", {"\u00e9", 0}, {"\u00c9", 0}, 1},
        OrderCase{"Shift-JIS bytes: fullwidth A (82 60) before 亜 (88 9F)", "CP932",
                  {Sjis("\x82\x60"), 128}, {Sjis("\x88\x9F"), 128}, -1},
        OrderCase{"UTF-8 bytes: 亜 (E4) before fullwidth A (EF)", "UTF-8",
                  {Sjis("\x82\x60"), 128}, {Sjis("\x88\x9F"), 128}, 1},
        OrderCase{"Shift-JIS single-byte katakana (B1) after a lead byte (82)", "CP932",
                  {Sjis("\xB1"), 128}, {Sjis("\x82\xA0"), 128}, 1}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(FontEnumProc, SkipsVerticalVariantsAndGoesOn) {
  struct Case {
    const char* name;
    uint8_t charset;
    bool listed;
  };
  const Case cases[] = {
      {"IPAGothic", 128, true},
      {"@IPAGothic", 128, false},
      {"Name with @ inside", 0, true},
      {"@", 2, false},
      {"Standard Symbols PS", 2, true},
  };
  TFontNames list;
  for (const Case& c : cases) {
    const qsizetype before = list.size();
    EXPECT_EQ(FontEnumProc(QString::fromUtf8(c.name), c.charset, list), 1) << c.name;
    ASSERT_EQ(list.size(), before + (c.listed ? 1 : 0)) << c.name;
    if (c.listed) {
      EXPECT_EQ(list.back().Name, QString::fromUtf8(c.name));
      EXPECT_EQ(list.back().Charset, c.charset);
    }
  }
}

TEST(PreviewSamples, HoldTheThreeTexts) {
  EXPECT_EQ(PreviewSamples[0], "AaBbYyZz012");
  EXPECT_EQ(PreviewSamples[1], "Symbol012");
  EXPECT_EQ(PreviewSamples[2].size(), 14u);
  EXPECT_EQ(Sjis(PreviewSamples[2]), QString::fromUtf8("Aaあぁアァ亜宇"));
}

// --- The colour picker's palette, grid and sliders ---

TEST(Palette216Test, RunsRedMajorThroughTheSixLevels) {
  const char* levels[] = {"00", "33", "66", "99", "cc", "ff"};
  std::set<std::string_view> distinct;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) {
        const std::string expected = std::string("#") + levels[r] + levels[g] + levels[b];
        EXPECT_EQ(Palette216[36 * r + 6 * g + b], expected) << r << g << b;
        distinct.insert(Palette216[36 * r + 6 * g + b]);
      }
  EXPECT_EQ(distinct.size(), 216u);
  EXPECT_EQ(Palette216.front(), "#000000");
  EXPECT_EQ(Palette216[1], "#000033");
  EXPECT_EQ(Palette216[6], "#003300");
  EXPECT_EQ(Palette216.back(), "#ffffff");
}

TEST(HexToColorTest, ReadsRedGreenBlueAndFallsBackOnBadDigits) {
  struct Case {
    std::string_view text;
    TColor expected;
  };
  const Case cases[] = {
      {"#000000", 0},
      {"#ff0000", 255},
      {"#00ff00", 65280},
      {"#0000ff", 16711680},
      {"#336699", 0x996633},
      {"#FFcC33", 0x33CCFF},   // upper- and lower-case digits alike
      {"#ffffff", 16777215},
      {"#12345g", -7},         // not hexadecimal: the default
      {"#-10000", -7},
      {"# 00000", -7},
  };
  for (const Case& c : cases) EXPECT_EQ(HexToColor(c.text, -7), c.expected) << c.text;
}

TEST(BuildGradientBitmapTest, HoldsTheThreeChannelRamps) {
  TBitmap bitmap;
  BuildGradientBitmap(bitmap);
  ASSERT_EQ(bitmap.Width(), 256);
  ASSERT_EQ(bitmap.Height(), 3);
  const QImage& image = bitmap.Image();
  for (int x : {0, 1, 51, 128, 254, 255}) {
    EXPECT_EQ(image.pixelColor(x, 0), QColor(x, 0, 0)) << x;
    EXPECT_EQ(image.pixelColor(x, 1), QColor(0, x, 0)) << x;
    EXPECT_EQ(image.pixelColor(x, 2), QColor(0, 0, x)) << x;
  }
}

// A black bitmap to draw white strokes on.
struct Blackboard {
  TBitmap bitmap;
  Blackboard() {
    bitmap.SetSize(24, 24);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect({0, 0, 24, 24});
    bitmap.Canvas().Pen.Color = clWhite;
  }
  bool White(int x, int y) { return bitmap.Image().pixelColor(x, y) == Qt::white; }
};

TEST(DrawLineByTest, LeavesTheEndPointOut) {
  struct Case {
    int x, y, dx, dy;
  };
  const Case cases[] = {{3, 5, 4, 0}, {0, 0, 2, 0}, {9, 2, 0, 6}, {20, 21, 0, 2}};
  for (const Case& c : cases) {
    Blackboard board;
    DrawLineBy(board.bitmap.Canvas(), c.x, c.y, c.dx, c.dy);
    const int sx = c.dx > 0 ? 1 : 0;
    const int sy = c.dy > 0 ? 1 : 0;
    for (int i = 0; i < c.dx + c.dy; ++i)
      EXPECT_TRUE(board.White(c.x + i * sx, c.y + i * sy)) << c.x << "," << c.y << " step " << i;
    EXPECT_FALSE(board.White(c.x + c.dx, c.y + c.dy)) << "end point of " << c.x << "," << c.y;
  }
}

TEST(DrawSliderMarkerTest, DrawsFourThickArmsAroundAnOpenCentre) {
  Blackboard board;
  TCanvas& canvas = board.bitmap.Canvas();
  canvas.Pen.Width = 1;
  DrawSliderMarker(canvas, 10, 10);
  EXPECT_EQ(canvas.Pen.Width, 1);  // restored
  // Each arm is 2 pixels long and 3 wide.
  const QPoint arms[] = {{6, 9},  {6, 10},  {6, 11},  {7, 9},  {7, 10},  {7, 11},
                         {12, 9}, {12, 10}, {12, 11}, {13, 9}, {13, 10}, {13, 11},
                         {9, 6},  {10, 6},  {11, 6},  {9, 7},  {10, 7},  {11, 7},
                         {9, 12}, {10, 12}, {11, 12}, {9, 13}, {10, 13}, {11, 13}};
  for (QPoint p : arms) EXPECT_TRUE(board.White(p.x(), p.y())) << p.x() << "," << p.y();
  int white = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) white += board.White(x, y);
  EXPECT_EQ(white, 24);  // nothing beyond the arms
  for (QPoint p : {QPoint(10, 10), QPoint(9, 10), QPoint(11, 10), QPoint(10, 9), QPoint(10, 11),
                   QPoint(8, 10), QPoint(10, 8)})
    EXPECT_FALSE(board.White(p.x(), p.y())) << "centre " << p.x() << "," << p.y();
}

TEST(GetControlScreenRectTest, IsTheClientAreaOnTheScreen) {
  QWidget window;
  window.setGeometry(300, 200, 100, 80);
  QWidget child(&window);
  child.setGeometry(8, 24, 56, 12);
  window.show();
  const QPoint origin = window.geometry().topLeft();
  const TRect rect = GetControlScreenRect(child);
  EXPECT_EQ(rect, (TRect{origin.x() + 8, origin.y() + 24, origin.x() + 64, origin.y() + 36}));
}

// --- Numeric-only edit fields ---

TEST(NumericEditTest, TextSetByTheProgramStaysEditable) {
  QLineEdit edit;
  MakeNumericEdit(&edit);
  edit.setText("-1");
  struct Step {
    Qt::Key key;
    const char* text;
  };
  // Digits may be added after the minus sign and the digit may be deleted, but no second minus
  // gets in.
  for (const Step& step : {Step{Qt::Key_5, "-15"}, Step{Qt::Key_Minus, "-15"}, Step{Qt::Key_Backspace, "-1"},
                           Step{Qt::Key_Backspace, "-"}, Step{Qt::Key_Home, "-"}, Step{Qt::Key_Minus, "-"},
                           Step{Qt::Key_Delete, ""}, Step{Qt::Key_Minus, ""}}) {
    QTest::keyClick(&edit, step.key);
    EXPECT_EQ(edit.text(), step.text) << QTest::toString(step.key);
  }
}

// Whatever text the program has put into the edit, a typed key gets in only if it is a digit.
TEST(NumericEditTest, OnlyDigitKeystrokesGetInAfterTheProgramsText) {
  struct Case {
    const char* set;
    const char* typed;
    const char* result;
  };
  for (const Case& c : {Case{"-5", "a-0", "-50"}, Case{"-5", " +x9", "-59"}, Case{"x", "1y", "x1"},
                        Case{"", "-7", "7"}, Case{"12", "a", "12"}}) {
    QLineEdit edit;
    MakeNumericEdit(&edit);
    edit.setText("0");
    edit.setText(c.set);
    QTest::keyClicks(&edit, c.typed);
    EXPECT_EQ(edit.text(), c.result) << "set " << c.set << ", typed " << c.typed;
  }
}

// Replacing a selection by a non-digit is refused as well, even where the edit holds that
// character already.
TEST(NumericEditTest, TypingOverASelectionTakesDigitsOnly) {
  QLineEdit edit;
  MakeNumericEdit(&edit);
  edit.setText("-5");
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_Minus);
  EXPECT_EQ(edit.text(), "-5");
  QTest::keyClick(&edit, Qt::Key_3);
  EXPECT_EQ(edit.text(), "3");
}

// Text set while the edit's signals are blocked counts as the edit's text for what a paste adds.
TEST(NumericEditTest, PastesAreJudgedAgainstTextSetQuietly) {
  QLineEdit edit;
  MakeNumericEdit(&edit);
  edit.setText("12");
  {
    const QSignalBlocker quiet(&edit);
    edit.setText("-5");
  }
  edit.end(false);
  QApplication::clipboard()->setText("x");
  edit.paste();
  EXPECT_EQ(edit.text(), "-5");
  QApplication::clipboard()->setText("7");
  edit.paste();
  EXPECT_EQ(edit.text(), "-57");
}

}  // namespace
