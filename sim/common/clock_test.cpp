#include "sim/common/clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

// A zone with summer time, written as a rule so that no zone database is needed.
class LocalZone {
 public:
  explicit LocalZone(const char* zone) {
    if (const char* old = getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~LocalZone() {
    if (old_) setenv("TZ", old_->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

TEST(Clock, OnlyARealLocalTimeOfTheOneFormIsTaken) {
  LocalZone zone("EST5EDT,M3.2.0,M11.1.0");
  const std::string form = "not a local time of the form 2009-06-17T09:41:00";
  struct Case {
    const char* text;
    std::optional<std::time_t> time;  // seconds since the epoch
    std::string why;
  };
  const Case cases[] = {
      {"2009-06-17T09:41:00", 1245246060, ""},   // summer time: UTC-4
      {"2009-01-05T23:59:59", 1231217999, ""},   // winter time: UTC-5
      {"1969-12-31T19:00:00", 0, ""},
      {"1969-12-31T18:59:59", -1, ""},           // the moment mktime also answers for failure
      {"2008-02-29T12:00:00", 1204304400, ""},
      {"", std::nullopt, form},
      {"2009-06-17 09:41:00", std::nullopt, form},
      {"2009-06-17T09:41", std::nullopt, form},
      {"2009-06-17T09:41:00Z", std::nullopt, form},
      {"2009-6-17T09:41:000", std::nullopt, form},
      {"２009-06-17T09:41:0", std::nullopt, form},
      {"+009-06-17T09:41:00", std::nullopt, form},
      {"2009-13-17T09:41:00", std::nullopt, "no such day"},
      {"2009-06-00T09:41:00", std::nullopt, "no such day"},
      {"2009-02-29T09:41:00", std::nullopt, "no such day"},
      {"2009-06-31T09:41:00", std::nullopt, "no such day"},
      {"2009-06-17T24:00:00", std::nullopt, "no such time of day"},
      {"2009-06-17T09:60:00", std::nullopt, "no such time of day"},
      {"2008-12-31T23:59:60", std::nullopt, "no such time of day"},
      {"2009-03-08T02:30:00", std::nullopt, "skipped by the local time zone"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(sim::parseLocalTime(c.text, why), c.time) << c.text;
    if (!c.time) EXPECT_EQ(why, c.why) << c.text;
  }
}

TEST(Clock, AnEmptySettingIsTheMachinesClockAndABadOneIsOneLineThatShowsIt) {
  struct Case {
    const char* value;  // null: unset
    bool valid;
    std::string problem;
  };
  for (const Case& c : {Case{nullptr, true, ""}, Case{"", true, ""}, Case{"2009-06-17T09:41:00", true, ""},
                        Case{"tomorrow\n", false,
                             "SBKIT_CLOCK: not a local time of the form 2009-06-17T09:41:00: tomorrow\\x0a"}}) {
    if (c.value) setenv("SBKIT_CLOCK", c.value, 1);
    else unsetenv("SBKIT_CLOCK");
    std::string problem;
    EXPECT_EQ(sim::clockSettingIsValid(problem), c.valid) << (c.value ? c.value : "unset");
    EXPECT_EQ(problem, c.problem);
  }
  unsetenv("SBKIT_CLOCK");
}

}  // namespace
