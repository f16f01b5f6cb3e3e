#include "tools/iconcount/badge_command.h"

#include <gtest/gtest.h>

namespace {

TEST(BadgeNumber, FollowsAtoiInsideTheRange) {
  EXPECT_EQ(iconcount::badgeNumber("12abc"), 12);
  EXPECT_EQ(iconcount::badgeNumber("abc"), 0);
  EXPECT_EQ(iconcount::badgeNumber("-3"), -3);
  EXPECT_EQ(iconcount::badgeNumber("  +7 "), 7);
  EXPECT_EQ(iconcount::badgeNumber(""), 0);
  EXPECT_EQ(iconcount::badgeNumber("- 5"), 0);
  EXPECT_EQ(iconcount::badgeNumber("0000000000000000042"), 42);
  EXPECT_EQ(iconcount::badgeNumber("2147483647"), 2147483647);
  EXPECT_EQ(iconcount::badgeNumber("-2147483648"), INT32_MIN);
}

TEST(BadgeNumber, RefusesDigitsBeyondTheSigned32BitRange) {
  EXPECT_FALSE(iconcount::badgeNumber("2147483648"));
  EXPECT_FALSE(iconcount::badgeNumber("-2147483649"));
  EXPECT_FALSE(iconcount::badgeNumber("99999999999999999999999999"));
  EXPECT_FALSE(iconcount::badgeNumber("4294967296x"));
}

}  // namespace
