#include "toolkit/Convert.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct ConvertCase {
  const char* text;
  std::optional<int32_t> value;
};

TEST(ConvertTest, WholeNumbersWithinThe32BitRange) {
  const ConvertCase cases[] = {
      {"0", 0},           {"00", 0},
      {"200", 200},       {"-1", -1},
      {"+5", 5},          {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt}, {"-", std::nullopt},
      {" 1", std::nullopt}, {"1 ", std::nullopt},
      {"1a", std::nullopt}, {"0x10", std::nullopt},
      {"１２", std::nullopt},  // full-width digits
  };
  for (const ConvertCase& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(TryStrToInt(text), c.value) << c.text;
    EXPECT_EQ(StrToIntDef(text, -77), c.value.value_or(-77)) << c.text;
    if (c.value)
      EXPECT_EQ(StrToInt(text), *c.value) << c.text;
    else
      EXPECT_THROW(StrToInt(text), EConvertError) << c.text;
  }
}

TEST(ConvertTest, TheErrorNamesTheText) {
  try {
    StrToInt("12x");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12x' is not a valid integer value");
  }
}

}  // namespace
