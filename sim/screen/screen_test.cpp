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
  EXPECT_EQ(screen::statusBarItemsOf(visible), (std::vector<std::string>{"Wifi", "Airplane", "Alarm"}));
  EXPECT_TRUE(screen::statusBarItemsOf(dictionary({{"statusBarItems", "Wifi"}})).empty());
  std::tm now{};
  screen::StatusBar bar = screen::statusBarOf(dictionary({{"SBCarrierDisplayName", "AT&T"}}), {"Wifi"}, true, false, now);
  EXPECT_EQ(bar.carrier, "AT&T");
  EXPECT_EQ(bar.items, std::vector<std::string>{"Wifi"});
  EXPECT_TRUE(bar.airplaneMode);
  EXPECT_FALSE(bar.padlock);
  screen::StatusBar locked = screen::statusBarOf(dictionary({{"SBCarrierDisplayName", 5}}), {}, false, true, now);
  EXPECT_EQ(locked.carrier, "");
  EXPECT_EQ(locked.clock, "") << "the padlock stands in the clock's place";
  EXPECT_TRUE(locked.padlock);
}

TEST(Screen, TimesAndDatesAreWrittenAsTheDeviceWritesThem) {
  struct Case {
    int weekday, month, day, hour, minute;
    const char *status, *lock, *date, *shortDay;
  };
  for (const Case& c : {Case{3, 5, 17, 9, 41, "9:41 AM", "9:41", "Wednesday, June 17", "Wed"},
                        Case{0, 0, 1, 0, 5, "12:05 AM", "12:05", "Sunday, January 1", "Sun"},
                        Case{6, 11, 31, 12, 0, "12:00 PM", "12:00", "Saturday, December 31", "Sat"},
                        Case{1, 8, 7, 23, 59, "11:59 PM", "11:59", "Monday, September 7", "Mon"}}) {
    std::tm now{};
    now.tm_wday = c.weekday, now.tm_mon = c.month, now.tm_mday = c.day, now.tm_hour = c.hour, now.tm_min = c.minute;
    EXPECT_EQ(screen::statusClockText(now), c.status);
    EXPECT_EQ(screen::lockClockText(now), c.lock);
    EXPECT_EQ(screen::dateText(now), c.date);
    EXPECT_EQ(screen::weekdayText(now), c.shortDay);
  }
}

}  // namespace
