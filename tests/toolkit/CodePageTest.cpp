#include "toolkit/CodePage.h"

#include "tests/support/ScopedCodePage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(CodePageTest, ShiftJisLeadBytesAreExactlyTheDoubleByteRanges) {
  const TCodePage shiftJis("CP932");
  EXPECT_TRUE(shiftJis.IsDoubleByte());
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(shiftJis.IsLeadByte(static_cast<unsigned char>(b)), lead) << std::hex << b;
  }
}

TEST(CodePageTest, KindsFollowTheirNames) {
  EXPECT_EQ(TCodePage("UTF-8").GetKind(), TCodePage::Kind::Utf8);
  EXPECT_EQ(TCodePage("utf8").GetKind(), TCodePage::Kind::Utf8);
  EXPECT_EQ(TCodePage("ISO-8859-1").GetKind(), TCodePage::Kind::SingleByte);
  EXPECT_EQ(TCodePage("CP936").GetKind(), TCodePage::Kind::DoubleByte);
  EXPECT_THROW(TCodePage("NO-SUCH-CODE-PAGE"), std::invalid_argument);
}

TEST(CodePageTest, SystemFollowsTheOverride) {
  const auto shiftJis = std::make_shared<TCodePage>("CP932");
  EXPECT_EQ(TCodePage::SetSystem(shiftJis), nullptr);
  EXPECT_EQ(TCodePage::System().Name(), "CP932");
  EXPECT_EQ(TCodePage::SetSystem(nullptr), shiftJis) << "the override replaced is handed back";
  EXPECT_NE(TCodePage::System().Name(), "CP932");
  EXPECT_NE(TCodePage::System().Name(), "ANSI_X3.4-1968") << "plain ASCII is taken as UTF-8";
}

TEST(CodePageTest, ScopedOverridesNestAndPutBackTheOneBefore) {
  const ScopedCodePage outer("CP932");
  {
    const ScopedCodePage inner("ISO-8859-1");
    EXPECT_EQ(TCodePage::System().Name(), "ISO-8859-1");
  }
  EXPECT_EQ(TCodePage::System().Name(), "CP932");
}

TEST(CodePageTest, ConvertsToAndFromUnicode) {
  const TCodePage shiftJis("CP932");
  // "Aaあぁアァ亜宇" as Shift-JIS bytes.
  EXPECT_EQ(shiftJis.ToUnicode("\x41\x61\x82\xA0\x82\x9F\x83\x41\x83\x40\x88\x9F\x89\x46"), QString::fromUtf8("Aaあぁアァ亜宇"));
  EXPECT_EQ(shiftJis.FromUnicode(QString::fromUtf8("日本")), "\x93\xFA\x96\x7B");
  EXPECT_EQ(shiftJis.FromUnicode(QString::fromUtf8("a😀b")), "a?b");
  EXPECT_EQ(shiftJis.ToUnicode("a\x82"), QString::fromUtf8("a\uFFFD"));
  EXPECT_EQ(shiftJis.ToUnicode("\xFF" "b"), QString::fromUtf8("\uFFFD" "b"));

  const TCodePage latin1("ISO-8859-1");
  EXPECT_EQ(latin1.ToUnicode("caf\xE9"), QString::fromUtf8("café"));
  EXPECT_EQ(latin1.FromUnicode(QString::fromUtf8("日é")), "?\xE9");

  const TCodePage utf8("UTF-8");
  EXPECT_EQ(utf8.ToUnicode("\xE6\x97\xA5"), QString::fromUtf8("日"));
  EXPECT_EQ(utf8.FromUnicode(QString::fromUtf8("日")), "\xE6\x97\xA5");
}

}  // namespace
