#include "model/Zelto.h"

#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/ScopedCodePage.h"
#include "toolkit/Checked.h"

#include <QPoint>
#include <gtest/gtest.h>

#include <climits>

namespace {

using Output = FixedMetricsEngine::Output;

class ZeltoTest : public ::testing::Test {
 protected:
  ZeltoTest() : codePage("UTF-8"), zelto(200, 200, engine) { Composition = &zelto; }
  ~ZeltoTest() override { Composition = nullptr; }

  TZeltoLayer& Add(std::string_view text) { return zelto.GetLayer(zelto.AddLayer(text)); }

  // Draws through Paint and returns what was output.
  std::vector<Output> Painted() {
    engine.outputs.clear();
    TBitmap screen;
    screen.SetSize(zelto.Width, zelto.Height);
    zelto.Paint(screen.Canvas());
    return engine.outputs;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& layer : zelto.Layers) texts.push_back(layer->Text);
    return texts;
  }

  ScopedCodePage codePage;
  FixedMetricsEngine engine;
  TZeltoZelto zelto;
};

// ---- Text storage ----

struct TextCase {
  const char* name;
  std::string given;
  std::string stored;
  std::string readBack;
};

class SetTextTest : public ZeltoTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(SetTextTest, StoresTrimmedWithMarkersAndReadsBackWithCrLf) {
  TZeltoLayer& layer = Add("");
  layer.SetText(GetParam().given);
  EXPECT_EQ(layer.Text, GetParam().stored);
  EXPECT_EQ(layer.GetText(), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetTextTest,
    ::testing::Values(
        TextCase{"OnlyBlanksAndBreaks", "\r\n\r\n", "", ""},
        TextCase{"EmptyLineKept", "a\r\n\r\nb", "a\xFF\xFF\xFF\xFF" "b", "a\r\n\r\nb"},
        TextCase{"TrailingBreaksTrimmed", " a\r\n\r\n", "a", "a"},
        TextCase{"LoneLfIsNoBreak", "a\nb", "a\nb", "a\nb"},
        TextCase{"LoneCrBeforeCrLf", "a\r\r\nb", "a\r\xFF\xFF" "b", "a\r\r\nb"},
        TextCase{"ControlBytesTrimmed", "\t\x01 x \x1F\x20", "x", "x"},
        TextCase{"FullWidthSpaceKept", "\xE3\x80\x80" "a\xE3\x80\x80", "\xE3\x80\x80" "a\xE3\x80\x80",
                 "\xE3\x80\x80" "a\xE3\x80\x80"},
        TextCase{"ByteAbove0x7FNotTrimmed", "\x81 a \xA0", "\x81 a \xA0", "\x81 a \xA0"}),
    [](const auto& info) { return info.param.name; });

TEST_F(ZeltoTest, TextWithoutMarkerBytesRoundTripsTrimmed) {
  TZeltoLayer& layer = Add("");
  for (const std::string text : {"plain", "two\r\nlines", "  padded\r\n", "a\r\n\r\n\r\nb", "\xE6\x97\xA5\r\n"}) {
    layer.SetText(text);
    std::string_view trimmed = text;
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= 0x20) trimmed.remove_prefix(1);
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= 0x20) trimmed.remove_suffix(1);
    EXPECT_EQ(layer.GetText(), trimmed) << text;
  }
}

// ---- Creation, copying, selection, moving ----

TEST_F(ZeltoTest, NewLayerIsVisibleTrimmedAtTheOriginUnselectedOnACopyOfTheDefaultFont) {
  zelto.DefaultFont().Color = clRed;
  TZeltoLayer& layer = Add(" x ");
  EXPECT_TRUE(layer.Visible);
  EXPECT_EQ(layer.Text, "x");
  EXPECT_EQ(layer.Owner, &zelto);
  EXPECT_TRUE(layer.UseDefaultFont);
  EXPECT_EQ(layer.Font, zelto.DefaultFont());
  EXPECT_EQ(std::tie(layer.Left, layer.Top, layer.LineSpan, layer.CharSpan), std::make_tuple(0, 0, 0, 0));
  EXPECT_EQ(std::tie(layer.BlockHeight, layer.BlockWidth), std::make_tuple(0, 0));
  EXPECT_FALSE(layer.Selected);

  TFont other;
  other.Name = "Other";
  zelto.SetDefaultFont(other);
  EXPECT_EQ(layer.Font.Color, clRed) << "later default fonts do not reach an existing layer";
  EXPECT_EQ(Add("y").Font, other);
}

TEST_F(ZeltoTest, CopyTakesEverythingButSelectionAndMeasures) {
  TZeltoLayer& source = Add("a\r\nb");
  source.Visible = false;
  source.UseDefaultFont = false;
  source.Font.Name = "Own";
  source.Font.Style = fsBold;
  source.Left = -5;
  source.Top = 7;
  source.LineSpan = 3;
  source.CharSpan = -2;
  source.AlignToAnchor(4);
  zelto.SetLayerSelected(0, true);
  const int32_t left = source.Left, top = source.Top;

  Add("second");
  ASSERT_EQ(zelto.AddLayerCopy(0), 2);
  const TZeltoLayer& copy = zelto.GetLayer(2);
  EXPECT_EQ(copy.Text, source.Text);
  EXPECT_FALSE(copy.Visible);
  EXPECT_FALSE(copy.UseDefaultFont);
  EXPECT_EQ(copy.Font, source.Font);
  EXPECT_NE(&copy.Font, &source.Font);
  EXPECT_EQ(std::tie(copy.Left, copy.Top), std::tie(left, top));
  EXPECT_EQ(std::tie(copy.LineSpan, copy.CharSpan), std::make_tuple(3, -2));
  EXPECT_FALSE(copy.Selected);
  EXPECT_EQ(std::tie(copy.BlockHeight, copy.BlockWidth), std::make_tuple(0, 0));
  EXPECT_EQ(zelto.SelectedCount(), 1);
}

TEST_F(ZeltoTest, SelectionKeepsEachLayerOnceInSelectingOrder) {
  for (const char* t : {"P", "Q", "R"}) Add(t);
  zelto.SetLayerSelected(2, true);
  zelto.SetLayerSelected(0, true);
  zelto.SetLayerSelected(0, true);
  zelto.SetLayerSelected(1, false);
  zelto.SetLayerSelected(1, true);
  ASSERT_EQ(zelto.SelectedCount(), 3);
  EXPECT_EQ(zelto.SelectedLayer(0).Text, "R");
  EXPECT_EQ(zelto.SelectedLayer(1).Text, "P");
  EXPECT_EQ(zelto.SelectedLayer(2).Text, "Q");

  std::vector<int32_t> forward, backward;
  EXPECT_EQ(ForEachSelected(true, [&](int32_t i, TZeltoLayer&) { forward.push_back(i); }), 3);
  ForEachSelected(false, [&](int32_t i, TZeltoLayer&) { backward.push_back(i); });
  EXPECT_EQ(forward, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(backward, (std::vector<int32_t>{2, 1, 0}));

  zelto.DeleteLayer(2);
  ASSERT_EQ(zelto.SelectedCount(), 2);
  EXPECT_EQ(zelto.SelectedLayer(0).Text, "P");
  EXPECT_EQ(zelto.SelectedLayer(1).Text, "Q");
}

TEST_F(ZeltoTest, MoveByAddsAndKeepsLeftWhenTopOverflows) {
  TZeltoLayer& layer = Add("x");
  layer.MoveBy(-5, 3);
  EXPECT_EQ(std::tie(layer.Left, layer.Top), std::make_tuple(-5, 3));
  EXPECT_THROW(layer.MoveBy(10, INT32_MAX), EIntOverflow);
  EXPECT_EQ(std::tie(layer.Left, layer.Top), std::make_tuple(5, 3));
  EXPECT_THROW(layer.MoveBy(INT32_MAX, 0), EIntOverflow);
  EXPECT_EQ(layer.Left, 5);
}

// ---- Layout ----

TEST_F(ZeltoTest, WorkedExampleMeasuresPlacesAndDraws) {
  TZeltoLayer& layer = Add("AB\r\nE");
  ASSERT_EQ(layer.Text, "AB\xFF\xFF" "E");
  layer.CharSpan = 2;
  layer.LineSpan = 3;
  layer.AlignToAnchor(4);
  EXPECT_EQ(layer.BlockHeight, 27);
  EXPECT_EQ(layer.BlockWidth, 17);
  EXPECT_EQ(layer.Left, 91);
  EXPECT_EQ(layer.Top, 86);
  const TFont font = zelto.DefaultFont();
  EXPECT_EQ(Painted(), (std::vector<Output>{{91, 86, "A", font}, {101, 86, "B", font}, {91, 101, "E", font}}));
}

struct AnchorCase {
  int anchor;
  int32_t left, top;
};

// A block 205 wide and 203 high on a 200 x 200 canvas: the halves truncate toward zero.
class AnchorTest : public ZeltoTest, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(AnchorTest, PlacesTheBlockAtItsAnchor) {
  engine.height = 203;
  engine.widths["W"] = 205;
  TZeltoLayer& layer = Add("W");
  layer.AlignToAnchor(static_cast<uint8_t>(GetParam().anchor));
  EXPECT_EQ(std::tie(layer.BlockWidth, layer.BlockHeight), std::make_tuple(205, 203));
  EXPECT_EQ(layer.Left, GetParam().left);
  EXPECT_EQ(layer.Top, GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(Anchors, AnchorTest,
                         ::testing::Values(AnchorCase{0, 0, 0}, AnchorCase{1, -2, 0}, AnchorCase{2, -5, 0},
                                           AnchorCase{3, 0, -1}, AnchorCase{4, -2, -1}, AnchorCase{5, -5, -1},
                                           AnchorCase{6, 0, -3}, AnchorCase{7, -2, -3}, AnchorCase{8, -5, -3},
                                           AnchorCase{9, -5, -3}, AnchorCase{200, -5, -3}, AnchorCase{255, -5, -3}));

struct BlockCase {
  const char* name;
  std::string text;
  int32_t lineSpan, charSpan;
  int32_t blockHeight, blockWidth;
};

class BlockTest : public ZeltoTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockTest, MeasuresHeightAndWidestLine) {
  TZeltoLayer& layer = Add(GetParam().text);
  layer.LineSpan = GetParam().lineSpan;
  layer.CharSpan = GetParam().charSpan;
  layer.AlignToAnchor(0);
  EXPECT_EQ(layer.BlockHeight, GetParam().blockHeight);
  EXPECT_EQ(layer.BlockWidth, GetParam().blockWidth);
}

// h = 12; A 8, B 7, E 9, other single bytes 10.
INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockTest,
    ::testing::Values(BlockCase{"SingleLineIgnoresLineSpan", "AB", 50, 0, 12, 15},
                      BlockCase{"EmptyMiddleLine", "A\r\n\r\nB", 5, 0, 3 * 12 + 2 * 5, 8},
                      BlockCase{"EmptyText", "", 7, 3, 12, 0},
                      BlockCase{"NegativeCharSpanLineBelowZero", "BB", 0, -100, 12, 0},
                      BlockCase{"NegativeLineSpanBelowHeight", "A\r\nB\r\nE", -20, 0, -4, 9},
                      BlockCase{"WidestLineWins", "E\r\nAB\r\nA", 0, 2, 12 * 3, 17},
                      BlockCase{"MarkerBytesCountedWithoutOverlap", "A\xFF\xFF\xFF" "B", 0, 0, 24, 17}),
    [](const auto& info) { return info.param.name; });

TEST_F(ZeltoTest, EmptyMiddleLineTakesItsPlace) {
  TZeltoLayer& layer = Add("A\r\n\r\nB");
  layer.LineSpan = 5;
  layer.Top = 10;
  EXPECT_EQ(Painted(), (std::vector<Output>{{0, 10, "A", zelto.DefaultFont()}, {0, 10 + 2 * 17, "B", zelto.DefaultFont()}}));
}

TEST_F(ZeltoTest, LinesStackUpwardsBelowNegativeHeight) {
  TZeltoLayer& layer = Add("A\r\nB\r\nE");
  layer.LineSpan = -20;
  layer.AlignToAnchor(6);
  EXPECT_EQ(layer.BlockHeight, -4);
  EXPECT_EQ(layer.Top, 204);
  std::vector<int32_t> ys;
  for (const Output& o : Painted()) ys.push_back(o.y);
  EXPECT_EQ(ys, (std::vector<int32_t>{204, 196, 188}));
}

TEST_F(ZeltoTest, NegativeCharSpanOverlapsCharacters) {
  TZeltoLayer& layer = Add("AB");
  layer.CharSpan = -100;
  layer.Left = 50;
  const auto out = Painted();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].x, 50 + 8 - 100);
}

TEST_F(ZeltoTest, HiddenLayerIsPlacedButNotDrawn) {
  TZeltoLayer& layer = Add("AB");
  layer.Visible = false;
  layer.AlignToAnchor(8);
  EXPECT_EQ(std::tie(layer.Left, layer.Top), std::make_tuple(200 - 15, 200 - 12));
  EXPECT_TRUE(Painted().empty());
  EXPECT_EQ(zelto.LayerCount(), 1);
}

// ---- Where a layer is drawn ----

struct HitCase {
  const char* name;
  std::string text;
  int32_t lineSpan, charSpan;
  int32_t ownFontSize;  // 0: the default font
  int32_t left, top;
  std::vector<QPoint> inside, outside;
};

class HitTest : public ZeltoTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, TheBlockHoldsThePixelsOfItsCellsAndStoresNothing) {
  const HitCase& c = GetParam();
  const TFont defaultFont = zelto.DefaultFont();
  TZeltoLayer& layer = Add(c.text);
  layer.LineSpan = c.lineSpan;
  layer.CharSpan = c.charSpan;
  if (c.ownFontSize > 0) {
    layer.UseDefaultFont = false;
    layer.Font.Size = c.ownFontSize;
  }
  layer.Left = c.left;
  layer.Top = c.top;
  for (const QPoint p : c.inside) EXPECT_TRUE(layer.BlockContains(p.x(), p.y())) << p.x() << "," << p.y();
  for (const QPoint p : c.outside) EXPECT_FALSE(layer.BlockContains(p.x(), p.y())) << p.x() << "," << p.y();
  EXPECT_EQ(std::tie(layer.BlockWidth, layer.BlockHeight), std::make_tuple(0, 0));
  EXPECT_EQ(zelto.DefaultFont(), defaultFont);
}

// h = 12 at 10 points; A 8, B 7, E 9 wide.
INSTANTIATE_TEST_SUITE_P(
    Blocks, HitTest,
    ::testing::Values(
        HitCase{"OneLine", "AB", 0, 0, 0, 10, 20, {{10, 20}, {24, 31}}, {{9, 20}, {25, 20}, {10, 19}, {10, 32}}},
        HitCase{"WidestLineAndEmptyMiddleLine", "A\r\n\r\nEB", 5, 0, 0, 0, 0, {{15, 0}, {0, 45}},
                {{16, 0}, {0, 46}}},
        HitCase{"LinesStackedUpward", "A\r\nB\r\nE", -20, 0, 0, 0, 100, {{0, 84}, {8, 111}},
                {{0, 83}, {0, 112}, {9, 100}}},
        HitCase{"CharactersRunningBack", "AB", 0, -100, 0, 50, 0, {{-42, 0}, {0, 0}, {57, 11}},
                {{-43, 0}, {58, 0}}},
        HitCase{"OwnFontInUse", "A", 0, 0, 20, 0, 0, {{15, 23}}, {{16, 0}, {0, 24}}},
        HitCase{"EmptyText", "", 0, 0, 0, 0, 0, {}, {{0, 0}}},
        HitCase{"WidthOverflows", "AB", 0, INT32_MAX, 0, 0, 0, {}, {{0, 0}, {7, 11}}},
        HitCase{"HeightOverflows", "A\r\nB\r\nE", INT32_MAX / 2, 0, 0, 0, 0, {}, {{0, 0}}},
        HitCase{"FarOutAt32Bits", "AB", 0, 0, 0, INT32_MAX - 4, INT32_MIN, {{INT32_MAX, INT32_MIN}},
                {{INT32_MAX - 5, INT32_MIN}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ZeltoTest, TheLayerAtAPixelIsTheTopMostVisibleOneThere) {
  TZeltoLayer& hidden = Add("E");
  Add("AB");
  TZeltoLayer& under = Add("ABAB");
  TZeltoLayer& aside = Add("A");
  hidden.Visible = false;
  under.Top = 5;
  aside.Left = -100;  // off the canvas
  EXPECT_EQ(zelto.LayerAt(0, 0), 1) << "the hidden layer is passed over";
  EXPECT_EQ(zelto.LayerAt(14, 11), 1);
  EXPECT_EQ(zelto.LayerAt(15, 11), 2) << "beside the upper layer";
  EXPECT_EQ(zelto.LayerAt(29, 16), 2);
  EXPECT_EQ(zelto.LayerAt(30, 16), -1);
  EXPECT_EQ(zelto.LayerAt(-93, 0), 3);
  hidden.Visible = true;
  EXPECT_EQ(zelto.LayerAt(0, 0), 0);
}

// ---- Characters in the code pages ----

struct SegmentCase {
  const char* name;
  const char* codePage;
  std::string line;
  std::vector<std::string> characters;
};

class SegmentTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentTest, DrawsEachCharacterByItselfAndSpacesThem) {
  const ScopedCodePage codePage(GetParam().codePage);
  FixedMetricsEngine engine;
  TZeltoZelto zelto(200, 200, engine);
  Composition = &zelto;
  TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(GetParam().line));
  layer.CharSpan = 2;
  layer.AlignToAnchor(0);

  TBitmap screen;
  zelto.Paint(screen.Canvas());
  std::vector<std::string> drawn;
  int32_t x = 0, width = 0;
  for (const Output& o : engine.outputs) {
    drawn.push_back(o.bytes);
    EXPECT_EQ(o.x, x) << "each character stands after the widths and spans before it";
    const int32_t w = engine.TextWidth(o.font, o.bytes);
    x += w + 2;
    width += w + 2;
  }
  EXPECT_EQ(drawn, GetParam().characters);
  EXPECT_EQ(layer.BlockWidth, drawn.empty() ? 0 : width - 2);
  Composition = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, SegmentTest,
    ::testing::Values(
        SegmentCase{"ShiftJisTwoDoubleByte", "CP932", "\x82\xA0\x88\x9F", {"\x82\xA0", "\x88\x9F"}},
        SegmentCase{"ShiftJisTrailByteInAsciiRange", "CP932", "\x83\x41" "A", {"\x83\x41", "A"}},
        SegmentCase{"ShiftJisLeadTakesAnyNextByte", "CP932", "\x81\x41\x81\xFC\xE0\x7F", {"\x81\x41", "\x81\xFC", "\xE0\x7F"}},
        SegmentCase{"ShiftJisTrailingLeadDropped", "CP932", "A\x82", {"A"}},
        SegmentCase{"ShiftJisOddRunOfLeads", "CP932", "\x81\x81\x81", {"\x81\x81"}},
        SegmentCase{"ShiftJisHalfWidthKanaSingle", "CP932", "\xB1\xA0" "A", {"\xB1", "\xA0", "A"}},
        SegmentCase{"Utf8Sequences", "UTF-8", "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", {"a", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}},
        SegmentCase{"Utf8IncompleteAtEnd", "UTF-8", "a\xE6\x97", {"a"}},
        SegmentCase{"Utf8StrayBytesAreSingle", "UTF-8", "\x80" "a\xE6" "b\xC0\xAF", {"\x80", "a", "\xE6", "b", "\xC0", "\xAF"}},
        SegmentCase{"Utf8OverlongAndSurrogateRejected", "UTF-8", "\xE0\x80\x80\xED\xA0\x80", {"\xE0", "\x80", "\x80", "\xED", "\xA0", "\x80"}},
        SegmentCase{"SingleByteEveryByte", "ISO-8859-1", "\x82\xA0\xE9", {"\x82", "\xA0", "\xE9"}}),
    [](const auto& info) { return info.param.name; });

// ---- Fonts ----

TEST_F(ZeltoTest, OwnFontMeasuresAndDrawsAndTheDefaultComesBack) {
  zelto.DefaultFont().Color = clRed;
  const TFont defaultFont = zelto.DefaultFont();
  TZeltoLayer& own = Add("AB");
  own.UseDefaultFont = false;
  own.Font.Size = 20;  // doubles every metric
  own.Font.Color = 0x00FF00;
  TZeltoLayer& plain = Add("AB");

  own.AlignToAnchor(0);
  plain.AlignToAnchor(0);
  EXPECT_EQ(std::tie(own.BlockWidth, own.BlockHeight), std::make_tuple(30, 24));
  EXPECT_EQ(std::tie(plain.BlockWidth, plain.BlockHeight), std::make_tuple(15, 12));
  EXPECT_EQ(zelto.DefaultFont(), defaultFont);

  zelto.SavedFont.Name = "untouched";
  const auto out = Painted();
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].font, defaultFont) << "the last index is drawn first";
  EXPECT_EQ(out[2].font, own.Font);
  EXPECT_EQ(out[3].x, 16 + 0);
  EXPECT_EQ(zelto.DefaultFont(), defaultFont);
  EXPECT_EQ(zelto.SavedFont, defaultFont);
}

TEST_F(ZeltoTest, DefaultFontLayerLeavesSavedFontAlone) {
  Add("A").AlignToAnchor(4);
  zelto.SavedFont.Name = "untouched";
  Painted();
  Add("B").AlignToAnchor(4);
  EXPECT_EQ(zelto.SavedFont.Name, "untouched");
}

TEST_F(ZeltoTest, DefaultFontObjectIsLive) {
  Add("A");
  TZeltoLayer& own = Add("B");
  own.UseDefaultFont = false;
  zelto.DefaultFont().Color = 0x123456;
  const auto out = Painted();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_NE(out[0].font.Color, 0x123456);
  EXPECT_EQ(out[1].font.Color, 0x123456);
}

// ---- Overflow ----

struct OverflowCase {
  const char* name;
  std::string text;
  int32_t lineSpan, charSpan;
  int32_t left, top;
  bool align;  // else draw
  int32_t storedHeight, storedWidth, storedLeft;  // what stays stored after the error
};

class OverflowTest : public ZeltoTest, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(OverflowTest, RaisesIntegerOverflowKeepsWhatWasStoredAndTheDefaultFont) {
  const OverflowCase& c = GetParam();
  const TFont defaultFont = zelto.DefaultFont();
  TZeltoLayer& layer = Add(c.text);
  layer.UseDefaultFont = false;
  layer.Font.Name = "Own";
  layer.LineSpan = c.lineSpan;
  layer.CharSpan = c.charSpan;
  layer.Left = c.left;
  layer.Top = c.top;
  if (c.align) {
    try {
      layer.AlignToAnchor(8);
      FAIL() << "no overflow";
    } catch (const EIntOverflow& e) {
      EXPECT_STREQ(e.what(), "Integer overflow");
    }
  } else {
    EXPECT_THROW(Painted(), EIntOverflow);
  }
  EXPECT_EQ(layer.BlockHeight, c.storedHeight);
  EXPECT_EQ(layer.BlockWidth, c.storedWidth);
  EXPECT_EQ(layer.Left, c.storedLeft);
  EXPECT_EQ(zelto.DefaultFont(), defaultFont);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverflowTest,
    ::testing::Values(
        OverflowCase{"BlockHeight", "A\r\nB\r\nE", INT32_MAX / 2, 0, 0, 0, true, 0, 0, 0},
        OverflowCase{"CharPlusSpan", "AB", 0, INT32_MAX, 0, 0, true, 12, 0, 0},
        OverflowCase{"RunningWidth", "AB", 0, INT32_MAX - 10, 0, 0, true, 12, 0, 0},
        OverflowCase{"PlacementKeepsBlockAndLeft", "A\r\nB\r\nE", INT32_MIN / 2, 0, 0, 0, true, 2 * (INT32_MIN / 2 + 12) + 12, 9, 191},
        OverflowCase{"DrawLineAdvance", "AB\r\nE", 0, 0, 0, INT32_MAX - 5, false, 0, 0, 0},
        OverflowCase{"DrawCharAdvance", "AAB", 0, 0, INT32_MAX - 12, 0, false, 0, 0, INT32_MAX - 12},
        // A line below the canvas is measured all the same.
        OverflowCase{"HiddenLineCharPlusSpan", "AB", 0, INT32_MAX, 0, 100000, false, 0, 0, 0},
        OverflowCase{"HiddenLineRunningPlace", "AAA", 0, INT32_MAX - 20, INT32_MIN, 100000, false, 0, 0, INT32_MIN}),
    [](const auto& info) { return info.param.name; });

// ---- The stack ----

TEST_F(ZeltoTest, AddAppendsAtTheBottomUnselected) {
  for (const char* t : {"P", "Q", "R"}) Add(t);
  EXPECT_EQ(zelto.AddLayer("S"), 3);
  EXPECT_EQ(zelto.GetLayer(3).Text, "S");
  EXPECT_FALSE(zelto.LayerSelected(3));
}

TEST_F(ZeltoTest, MoveLayerShiftsTheOthersAndKeepsFlags) {
  for (const char* t : {"P", "Q", "R"}) Add(t);
  zelto.SetLayerSelected(2, true);
  zelto.MoveLayer(2, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"R", "P", "Q"}));
  EXPECT_TRUE(zelto.LayerSelected(0));
  zelto.MoveLayer(0, 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P", "Q", "R"}));
  zelto.MoveLayer(1, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P", "Q", "R"}));
}

TEST_F(ZeltoTest, IndexOutsideAListRaisesTheListErrorNamingIt) {
  for (const char* t : {"P", "Q"}) Add(t);
  zelto.SetLayerSelected(0, true);
  const std::vector<std::pair<int32_t, std::function<void()>>> calls = {
      {2, [&] { zelto.GetLayer(2); }},
      {-1, [&] { zelto.GetLayer(-1); }},
      {5, [&] { zelto.AddLayerCopy(5); }},
      {2, [&] { zelto.DeleteLayer(2); }},
      {3, [&] { zelto.MoveLayer(3, 0); }},
      {2, [&] { zelto.MoveLayer(0, 2); }},
      {7, [&] { zelto.SetLayerVisible(7, false); }},
      {7, [&] { zelto.LayerUseDefaultFont(7); }},
      {1, [&] { zelto.SelectedLayer(1); }},
  };
  for (const auto& [index, call] : calls) {
    try {
      call();
      ADD_FAILURE() << "no error for index " << index;
    } catch (const EListError& e) {
      EXPECT_EQ(std::string(e.what()), "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
    }
  }
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P", "Q"})) << "a failed call changes nothing";
  EXPECT_EQ(zelto.SelectedCount(), 1);
}

TEST_F(ZeltoTest, BackwardVisitMayDeleteEverySelectedLayer) {
  for (const char* t : {"P", "Q", "R", "S", "T"}) Add(t);
  for (int32_t i : {0, 2, 3}) zelto.SetLayerSelected(i, true);
  std::vector<int32_t> visited;
  const int32_t result = ForEachSelected(false, [&](int32_t i, TZeltoLayer&) {
    visited.push_back(i);
    zelto.DeleteLayer(i);
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(visited, (std::vector<int32_t>{3, 2, 0}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Q", "T"}));
  EXPECT_EQ(zelto.SelectedCount(), 0);
}

TEST_F(ZeltoTest, ForwardVisitDoesNotVisitCopiesItAppends) {
  for (const char* t : {"P", "Q", "R"}) Add(t);
  zelto.SetLayerSelected(0, true);
  zelto.SetLayerSelected(2, true);
  std::vector<int32_t> visited;
  ForEachSelected(true, [&](int32_t i, TZeltoLayer&) {
    visited.push_back(i);
    zelto.AddLayerCopy(i);
  });
  EXPECT_EQ(visited, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"P", "Q", "R", "P", "R"}));
}

TEST_F(ZeltoTest, ForwardVisitMovingUpSwapsWithVisitedLayers) {
  for (const char* t : {"P", "Q", "R", "S"}) Add(t);
  zelto.SetLayerSelected(1, true);
  zelto.SetLayerSelected(2, true);
  std::vector<std::string> visited;
  ForEachSelected(true, [&](int32_t i, TZeltoLayer& layer) {
    visited.push_back(layer.Text);
    zelto.MoveLayer(i, i - 1);
  });
  EXPECT_EQ(visited, (std::vector<std::string>{"Q", "R"}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Q", "R", "P", "S"}));
}

TEST_F(ZeltoTest, NothingSelectedVisitsNothing) {
  Add("P");
  int calls = 0;
  EXPECT_EQ(ForEachSelected(true, [&](int32_t, TZeltoLayer&) { ++calls; }), 0);
  EXPECT_EQ(calls, 0);
}

// ---- Painting ----

TEST_F(ZeltoTest, PaintDrawsFromTheLastIndexUpAndLeavesTheBrushClear) {
  TZeltoLayer& top = Add("A");
  TZeltoLayer& bottom = Add("B");
  top.Left = bottom.Left = 3;
  const auto out = Painted();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].bytes, "B");
  EXPECT_EQ(out[1].bytes, "A");
  EXPECT_EQ(zelto.Bitmap.Canvas().Brush.Style, TBrushStyle::Clear);
}

TEST_F(ZeltoTest, ResizingKeepsLayersWhereTheyWere) {
  TZeltoLayer& layer = Add("A");
  layer.Left = 150;
  layer.Top = 160;
  zelto.SetWidth(100);
  zelto.SetHeight(90);
  EXPECT_EQ(std::tie(zelto.Width, zelto.Height), std::make_tuple(100, 90));
  EXPECT_EQ(std::make_tuple(zelto.Bitmap.Width(), zelto.Bitmap.Height()), std::make_tuple(100, 90));
  zelto.SetWidth(300);
  zelto.SetHeight(300);
  EXPECT_EQ(std::tie(layer.Left, layer.Top), std::make_tuple(150, 160));
  EXPECT_EQ(Painted().front().x, 150);
}

TEST_F(ZeltoTest, CanvasSizeTheBitmapCannotTakeChangesNothing) {
  EXPECT_THROW(zelto.SetWidth(99999999), EOutOfResources);
  EXPECT_THROW(zelto.SetHeight(-1), EOutOfResources);
  EXPECT_EQ(std::tie(zelto.Width, zelto.Height), std::make_tuple(200, 200));
  EXPECT_EQ(std::make_tuple(zelto.Bitmap.Width(), zelto.Bitmap.Height()), std::make_tuple(200, 200));
}

}  // namespace
