#include "screen.h"

#include <gtest/gtest.h>

#include "tests/support/plist_literals.h"

namespace {

using namespace plist_literals;
using platform::plist::Dictionary;

TEST(Screen, BadgesShowNumbersAndTextsButNotZeroOrEmptyText) {
  Dictionary visible =
      dictionary({{"badges", dictionary({{"a", 3}, {"b", "New"}, {"c", 0}, {"d", ""}, {"e", -2}, {"f", true}})}});
  auto badges = screen::badgesOf(visible);
  EXPECT_EQ(badges, (std::map<std::string, std::string, std::less<>>{{"a", "3"}, {"b", "New"}, {"e", "-2"}}));
  EXPECT_TRUE(screen::badgesOf(dictionary({{"badges", "x"}})).empty());
  EXPECT_EQ(screen::shownBadge(platform::plist::Value(1.5)), "1.5");
}

TEST(Screen, TheStatusBarKeepsItemsInTheOrderTheyWereAddedAndLockedShowsAPadlockForTheClock) {
  Dictionary visible = dictionary(
      {{"statusBarItems", dictionary({{"Wifi", "o"}, {"Airplane", "o"}, {"Alarm", "o"}})}, {"airplaneMode", true}});
  EXPECT_EQ(screen::statusBarItemsOf(visible), (std::vector<std::string>{"Wifi", "Airplane", "Alarm"}));
  EXPECT_TRUE(screen::statusBarItemsOf(dictionary({{"statusBarItems", "Wifi"}})).empty());
  std::tm now{};
  screen::StatusBar bar = screen::statusBarOf(dictionary({{"SBCarrierDisplayName", "AT&T"}}), {}, false, false, now);
  EXPECT_EQ(bar.carrier + " " + bar.clock, "AT&T 12:00 AM");
  screen::StatusBar locked = screen::statusBarOf(dictionary({{"SBCarrierDisplayName", 5}}), {}, false, true, now);
  EXPECT_TRUE(locked.padlock && locked.clock.empty() && locked.carrier.empty());
}

TEST(Screen, TimesAndDatesAreWrittenAsTheDeviceWritesThem) {
  std::tm now{};
  now.tm_wday = 3, now.tm_mon = 5, now.tm_mday = 17, now.tm_hour = 9, now.tm_min = 41;
  EXPECT_EQ(screen::statusClockText(now) + " " + screen::lockClockText(now) + " " + screen::dateText(now) + " " +
                screen::weekdayText(now),
            "9:41 AM 9:41 Wednesday, June 17 Wed");
  now.tm_wday = 0, now.tm_mon = 11, now.tm_mday = 1, now.tm_hour = 12, now.tm_min = 5;
  EXPECT_EQ(screen::statusClockText(now) + " " + screen::dateText(now), "12:05 PM Sunday, December 1");
}

}  // namespace
