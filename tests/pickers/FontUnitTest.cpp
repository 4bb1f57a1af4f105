#include "pickers/FontUnit.h"
#include "pickers/Misc.h"
#include "toolkit/CodePage.h"
#include "toolkit/FontFamilies.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

QString Sjis(std::string_view bytes) { return TCodePage("CP932").ToUnicode(bytes); }

// The system code page decides the byte order of names; every case names the one it runs in.
class SystemCodePage {
 public:
  explicit SystemCodePage(const char* name) { TCodePage::SetSystem(std::make_shared<TCodePage>(name)); }
  ~SystemCodePage() { TCodePage::SetSystem(nullptr); }
};

struct OrderCase {
  const char* what;
  const char* codePage;
  TFontEntry first;
  TFontEntry second;
  int expected;  // sign of the comparison of `first` with `second`
};

int Sign(int v) { return (v > 0) - (v < 0); }

class FontOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(FontOrder, ComparesCharsetThenFoldedBytes) {
  const OrderCase& c = GetParam();
  SystemCodePage codePage(c.codePage);
  EXPECT_EQ(Sign(CompareFontEntries(c.first, c.second)), c.expected) << c.what;
  EXPECT_EQ(Sign(CompareFontEntries(c.second, c.first)), -c.expected) << c.what << " (swapped)";
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
        OrderCase{"folded to upper case: a comes before _", "UTF-8", {"a", 0}, {"_", 0}, -1},
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
    [](const auto& info) { return "case" + std::to_string(info.index); });

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

TEST(FontFamilies, CharsetFollowsTheWritingSystems) {
  // Installed with the program's packages: a Japanese gothic and a Latin face.
  EXPECT_EQ(FamilyCharset("IPAGothic"), 128);
  EXPECT_EQ(FamilyCharset("DejaVu Sans"), 0);
  for (const QString& family : QFontDatabase::families(QFontDatabase::Symbol)) {
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) continue;
    EXPECT_EQ(FamilyCharset(family), 2) << family.toStdString();
  }
}

TEST(FontFamilies, ReportsEachFamilyOnceWithoutFoundry) {
  QStringList names;
  EnumFontFamilies([&](const QString& name, uint8_t charset) {
    EXPECT_EQ(charset, FamilyCharset(name)) << name.toStdString();
    names.append(name);
    return 1;
  });
  EXPECT_TRUE(names.contains("DejaVu Sans"));
  EXPECT_TRUE(names.contains("IPAGothic"));
  EXPECT_FALSE(names.contains("Sans Serif"));  // a generic name, not an installed family
  EXPECT_EQ(names.removeDuplicates(), 0);
  for (const QString& name : names) EXPECT_FALSE(name.endsWith(']')) << name.toStdString();
}

TEST(FontFamilies, StopsWhenTheCallbackSaysSo) {
  int calls = 0;
  EnumFontFamilies([&](const QString&, uint8_t) { return ++calls == 2 ? 0 : 1; });
  EXPECT_EQ(calls, 2);
}

}  // namespace
