#include "sim/common/clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(Clock, OnlyARealLocalTimeOfTheOneFormIsTakenAndEmptyIsTheMachinesClock) {
  setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);  // summer time by rule: no zone database needed
  tzset();
  const std::string form = "not a local time of the form 2009-06-17T09:41:00";
  struct Case {
    const char* text;
    std::optional<std::time_t> time;
    std::string why;
  } const cases[] = {
      {"2009-06-17T09:41:00", 1245246060, ""},  // summer: UTC-4
      {"2009-01-05T23:59:59", 1231217999, ""},  // winter: UTC-5
      {"1969-12-31T18:59:59", -1, ""},          // what mktime also answers for a failure
      {"", std::nullopt, form},
      {"2009-06-17 09:41:00", std::nullopt, form},
      {"2009-06-17T09:41:0Z", std::nullopt, form},
      {"+009-06-17T09:41:00", std::nullopt, form},
      {"2009-02-29T09:41:00", std::nullopt, "no such day"},
      {"2009-06-17T24:00:00", std::nullopt, "no such time of day"},
      {"2009-03-08T02:30:00", std::nullopt, "skipped by the local time zone"},
  };
  std::string why;
  for (const Case& c : cases) {
    EXPECT_EQ(sim::parseLocalTime(c.text, why), c.time) << c.text;
    if (!c.time) {
      EXPECT_EQ(why, c.why) << c.text;
    }
  }
  unsetenv("TZ");
  tzset();
  setenv("SBKIT_CLOCK", "", 1);
  EXPECT_TRUE(sim::clockSettingIsValid(why));
  EXPECT_LE(std::time(nullptr) - sim::deviceTime(), 1);
  unsetenv("SBKIT_CLOCK");
}

}  // namespace
