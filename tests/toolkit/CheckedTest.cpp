#include "toolkit/Checked.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

// The text of the error of type E that `op` raises, or a text saying that it raises none.
template <class E>
std::string ErrorText(const std::function<void()>& op) {
  try {
    op();
  } catch (const E& error) {
    return error.what();
  }
  return "(nothing raised)";
}

struct ArithmeticCase {
  const char* name;
  std::function<int32_t()> op;
  bool overflows;
  int32_t result;
};

TEST(CheckedTest, ArithmeticRaisesIntegerOverflowExactlyPastTheRange) {
  const ArithmeticCase cases[] = {
      {"add max", [] { return CheckedAdd(INT32_MAX, 0); }, false, INT32_MAX},
      {"add past max", [] { return CheckedAdd(INT32_MAX, 1); }, true, 0},
      {"add past min", [] { return CheckedAdd(INT32_MIN, -1); }, true, 0},
      {"add min", [] { return CheckedAdd(INT32_MIN + 1, -1); }, false, INT32_MIN},
      {"sub past min", [] { return CheckedSub(INT32_MIN, 1); }, true, 0},
      {"sub of min", [] { return CheckedSub(0, INT32_MIN); }, true, 0},
      {"sub", [] { return CheckedSub(200, 205); }, false, -5},
      {"mul past max", [] { return CheckedMul(65536, 32768); }, true, 0},
      {"mul min", [] { return CheckedMul(-65536, 32768); }, false, INT32_MIN},
      {"mul negative", [] { return CheckedMul(2, -8); }, false, -16},
  };
  for (const ArithmeticCase& c : cases) {
    if (c.overflows)
      EXPECT_EQ(ErrorText<EIntOverflow>(c.op), "Integer overflow") << c.name;
    else
      EXPECT_EQ(c.op(), c.result) << c.name;
  }
}

TEST(CheckedTest, NarrowingRaisesRangeCheckErrorOutsideTheRange) {
  EXPECT_EQ(RangeToByte(0), 0);
  EXPECT_EQ(RangeToByte(255), 255);
  EXPECT_EQ(RangeToInt16(-32768), -32768);
  EXPECT_EQ(RangeToInt16(32767), 32767);
  for (int64_t outside : {-1LL, 256LL, 1LL << 40}) EXPECT_THROW(RangeToByte(outside), ERangeError) << outside;
  for (int64_t outside : {-32769LL, 32768LL}) EXPECT_THROW(RangeToInt16(outside), ERangeError) << outside;
  EXPECT_EQ(ErrorText<ERangeError>([] { RangeToByte(300); }), "Range check error");
  EXPECT_EQ(ErrorText<ERangeError>([] { RangeToInt16(40000); }), "Range check error");
}

TEST(CheckedTest, ListErrorNamesTheIndex) {
  EXPECT_STREQ(EListError(-1).what(), "リストのインデックスが範囲を超えています (-1)");
  EXPECT_STREQ(EListError(12345).what(), "リストのインデックスが範囲を超えています (12345)");
}

}  // namespace
