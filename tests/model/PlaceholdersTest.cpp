#include "model/Placeholders.h"

#include "tests/support/CaseName.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/PrintTo.h"
#include "tests/support/ScopedCodePage.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

// A column's value shows its name, "[name]", so that what was filled shows where from; the
// column "brace" holds braces, which are the value's own and name nothing.
QString Value(const QString& name) {
  return name == QLatin1String("brace") ? QStringLiteral("{a}}{{") : QLatin1Char('[') + name + QLatin1Char(']');
}

struct TextCase {
  const char* name;
  const char* text;
  QStringList names;
  const char* filled;
};

class PlaceholderTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(PlaceholderTextTest, NamesItsColumnsAndFillsThem) {
  const TextCase& c = GetParam();
  const QString text = QString::fromUtf8(c.text);
  EXPECT_EQ(PlaceholderNames(text), c.names);
  EXPECT_EQ(FillPlaceholders(text, Value), QString::fromUtf8(c.filled));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceholderTextTest,
    ::testing::Values(
        TextCase{"no placeholder", "plain text", {}, "plain text"},
        TextCase{"empty", "", {}, ""},
        TextCase{"a column", "Hello {name}!", {"name"}, "Hello [name]!"},
        TextCase{"each column once in the order of its first place", "{b}{a} {b}", {"b", "a"}, "[b][a] [b]"},
        TextCase{"a name with spaces and other letters", "{first name} {日本}", {"first name", "日本"},
                 "[first name] [日本]"},
        TextCase{"the empty name", "{}", {""}, "[]"},
        TextCase{"doubled braces are single braces", "{{name}}", {}, "{name}"},
        TextCase{"doubled braces around a placeholder", "{{{name}}}", {"name"}, "{[name]}"},
        TextCase{"three opening braces", "{{{", {}, "{{"},
        TextCase{"three closing braces", "}}}", {}, "}}"},
        TextCase{"a doubled brace then a lone closing one", "{{a}", {}, "{a}"},
        TextCase{"a placeholder then a lone closing brace", "{a}}", {"a"}, "[a]}"},
        TextCase{"a brace that nothing closes", "a { b", {}, "a { b"},
        TextCase{"a brace unclosed at the end", "x{name", {}, "x{name"},
        TextCase{"a closing brace that closes nothing", "a } b", {}, "a } b"},
        TextCase{"braces the wrong way round", "}{", {}, "}{"},
        TextCase{"a brace that another brace follows before any closes", "{a {b}", {"b"}, "{a [b]"},
        TextCase{"a placeholder on each line", "{a}\n{b}\n", {"a", "b"}, "[a]\n[b]\n"},
        TextCase{"a name across a line break holds the break", "{first\nsecond}", {"first\nsecond"},
                 "[first\nsecond]"},
        TextCase{"a value's braces are not read again", "<{brace}>", {"brace"}, "<{a}}{{>"}),
    [](const auto& info) { return CaseName(info.param.name); });

// Filling a composition's layers, measured with fixed metrics: at 10 points a character is 10
// pixels wide ("A" 8) and a line 12 high.
class FillLayersTest : public ::testing::Test {
 protected:
  FillLayersTest() : zelto(200, 100, engine) {}

  TZeltoLayer& Add(std::string_view text, QPoint place, std::optional<uint8_t> anchor = {}) {
    TZeltoLayer& layer = zelto.GetLayer(zelto.AddLayer(text));
    layer.Left = place.x();
    layer.Top = place.y();
    layer.Anchor = anchor;
    return layer;
  }

  static QPoint Place(const TZeltoLayer& layer) { return {layer.Left, layer.Top}; }

  ScopedCodePage codePage{"ISO-8859-1"};
  FixedMetricsEngine engine;
  TZeltoZelto zelto;
};

TEST_F(FillLayersTest, EachLayerGetsItsTextAsTypedAndAnAnchoredLayerIsPlacedAtItsAnchorAgain) {
  TZeltoLayer& centred = Add("{name}", {3, 4}, 4);
  TZeltoLayer& corner = Add("no. {row}", {150, 80}, 8);
  TZeltoLayer& placed = Add("{name}\xFF\xFF{title}", {5, 6});
  TZeltoLayer& untouched = Add("{{kept}} as it is", {7, 8}, 2);
  const std::map<QString, QString> values = {
      {"name", "Ada"}, {"row", "12"}, {"title", "Zo\u00eb \u65e5\u672c\nline  "}};
  FillPlaceholders(zelto, [&values](const QString& name) { return values.at(name); });

  // "Ada" is 8 + 10 + 10 wide, 12 high: centred in 200 × 100.
  EXPECT_EQ(centred.Text, "Ada");
  EXPECT_EQ(Place(centred), QPoint(86, 44));
  EXPECT_EQ(centred.Anchor, 4);
  // "no. 12", six characters, in the bottom right corner.
  EXPECT_EQ(corner.Text, "no. 12");
  EXPECT_EQ(Place(corner), QPoint(140, 88));
  // Trimmed as typed text is, converted to the code page ("?" for what it lacks), its line
  // breaks lines of the layer; no anchor, so it stays where it was.
  EXPECT_EQ(placed.Text, "Ada\xFF\xFFZo\xEB ??\xFF\xFFline");
  EXPECT_EQ(Place(placed), QPoint(5, 6));
  // A layer without placeholders stays as it is, its doubled braces and its place too.
  EXPECT_EQ(untouched.Text, "{{kept}} as it is");
  EXPECT_EQ(Place(untouched), QPoint(7, 8));
}

}  // namespace
