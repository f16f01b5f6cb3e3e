#include "screen.h"

#include <gtest/gtest.h>

#include "tests/support/plist_literals.h"

namespace {

using namespace plist_literals;
using platform::plist::Dictionary;

TEST(Screen, BadgesShowNumbersAndTextsButNotZeroOrEmptyText) {
  Dictionary visible = dictionary({{"badges", dictionary({{"a", 3}, {"b", "New"}, {"c", 0}, {"d", ""}, {"e", -2},
                                                          {"f", true}})}});
  auto badges = screen::badgesOf(visible);
  EXPECT_EQ(badges, (std::map<std::string, std::string, std::less<>>{{"a", "3"}, {"b", "New"}, {"e", "-2"}}));
  EXPECT_TRUE(screen::badgesOf(dictionary({{"badges", "x"}})).empty());
}

TEST(Screen, TheStatusBarKeepsItemsInTheOrderTheyWereAdded) {
  Dictionary visible =
      dictionary({{"statusBarItems", dictionary({{"Wifi", "o"}, {"Airplane", "o"}, {"Alarm", "o"}})}, {"airplaneMode", true}});
  Dictionary preferences = dictionary({{"SBCarrierDisplayName", "AT&T"}});
  screen::StatusBar bar = screen::statusBarOf(visible, preferences, 0);
  EXPECT_EQ(bar.items, (std::vector<std::string>{"Wifi", "Airplane", "Alarm"}));
  EXPECT_TRUE(bar.airplaneMode);
  EXPECT_EQ(bar.carrier, "AT&T");
  EXPECT_NE(bar.clock.find(':'), std::string::npos);
  EXPECT_NE(bar.clock.front(), ' ');

  screen::StatusBar odd = screen::statusBarOf(
      dictionary({{"statusBarItems", "Wifi"}, {"airplaneMode", 1}}), dictionary({{"SBCarrierDisplayName", 5}}), 0);
  EXPECT_TRUE(odd.items.empty());
  EXPECT_FALSE(odd.airplaneMode);
  EXPECT_EQ(odd.carrier, "");
}

}  // namespace
