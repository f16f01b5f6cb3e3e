#include "tools/radio/command_line.h"

#include <gtest/gtest.h>

namespace {

using radio::airplaneMode;

TEST(AirplaneMode, OnExactlyWhenTheArgumentBeginsWithAYOfEitherCase) {
  for (const char* on : {"y", "Y", "yes", "YES", "yellow", "Yolo", "y n"}) EXPECT_EQ(airplaneMode(on), 1) << on;
}

TEST(AirplaneMode, OffForEverythingElse) {
  for (const char* off : {"n", "N", "no", "off", "0", "1", "", " y", "\ty", "-y", "on", "ON", "\xc3\xbf", "\xff"})
    EXPECT_EQ(airplaneMode(off), 0) << off;
}

}  // namespace
