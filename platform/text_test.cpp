#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

using platform::int32LikeAtoi;

TEST(Int32LikeAtoi, FollowsAtoiInsideTheRange) {
  EXPECT_EQ(int32LikeAtoi("12abc"), 12);
  EXPECT_EQ(int32LikeAtoi("abc"), 0);
  EXPECT_EQ(int32LikeAtoi("-3"), -3);
  EXPECT_EQ(int32LikeAtoi("  +7 "), 7);
  EXPECT_EQ(int32LikeAtoi(""), 0);
  EXPECT_EQ(int32LikeAtoi("- 5"), 0);
  EXPECT_EQ(int32LikeAtoi("0000000000000000042"), 42);
  EXPECT_EQ(int32LikeAtoi("2147483647"), 2147483647);
  EXPECT_EQ(int32LikeAtoi("-2147483648"), INT32_MIN);
}

TEST(Int32LikeAtoi, RefusesDigitsBeyondTheSigned32BitRange) {
  EXPECT_FALSE(int32LikeAtoi("2147483648"));
  EXPECT_FALSE(int32LikeAtoi("-2147483649"));
  EXPECT_FALSE(int32LikeAtoi("99999999999999999999999999"));
  EXPECT_FALSE(int32LikeAtoi("4294967296x"));
}

TEST(IsAscii, RefusesAnyByteWithTheHighBitSet) {
  EXPECT_TRUE(platform::isAscii(""));
  EXPECT_TRUE(platform::isAscii("SBIconColumns\t~\x7f"));
  EXPECT_FALSE(platform::isAscii("caf\xc3\xa9"));
  EXPECT_FALSE(platform::isAscii("\x80"));
}

TEST(Utf16Length, CountsCharactersAndTwoUnitsBeyondTheBasicPlane) {
  EXPECT_EQ(platform::utf16Length(""), 0u);
  EXPECT_EQ(platform::utf16Length("Airplane"), 8u);
  EXPECT_EQ(platform::utf16Length("Caf\xc3\xa9"), 4u);
  EXPECT_EQ(platform::utf16Length("\xe2\x82\xac"), 1u);
  EXPECT_EQ(platform::utf16Length("\xf0\x9f\x93\xb6!"), 3u);
}

}  // namespace
