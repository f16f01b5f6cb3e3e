// Every tool that calls into a framework, run with the framework missing or
// lacking its entry point: each run names what is missing in one line on
// standard error and exits with status 1, and nothing is called, so the
// journal stays empty.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/homeprefs/preferences_file.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

namespace {

namespace fs = std::filesystem;
using homeprefs_test::ownerWarning;
using homeprefs_test::preferences;
using platform::plist::Dictionary;
using platform::plist::Value;

const std::string kUIKit = "/System/Library/Framework/UIKit.framework/UIKit";
const std::string kSpringBoardServices =
    "/System/Library/PrivateFrameworks/SpringBoardServices.framework/SpringBoardServices";
const std::string kGraphicsServices = "/System/Library/PrivateFrameworks/GraphicsServices.framework/GraphicsServices";

struct Case {
  std::string name;  // the test's own
  std::string tool;
  std::string library;                         // the framework taken away,
  std::string standIn;                         // or, when not empty, replaced by this one, which lacks its entry points
  std::vector<std::vector<std::string>> runs;  // the arguments of each run
  std::string out, err;                        // what each run prints
  // What else holds after the runs, given the preferences before them; may be empty.
  std::function<void(const e2e::TemporaryDevice&, const Dictionary& preferencesBefore)> afterwards = nullptr;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::vector<Case> cases() {
  const std::string attempt = "attempting to badge com.apple.mobilemail\n";
  return {
      {"badge_AMissingFrameworkIsNamedAfterTheAttemptLineAndNeverCalled",
       "badge",
       kUIKit,
       "",
       {{"MobileMail", "5"}},
       attempt,
       "badge: cannot open " + kUIKit + "\n"},
      {"badge_AMissingEntryPointIsNamedAndNeverCalled",
       "badge",
       kSpringBoardServices,
       kGraphicsServices,
       {{"MobileMail", "5"}},
       attempt,
       "badge: cannot find SBSSpringBoardServerPort in " + kUIKit + "\n"},
      {"iconcount_AMissingFrameworkIsNamedAndNeverCalled",
       "iconcount",
       kUIKit,
       "",
       {{"Mail", "3"}},
       "Setting com.apple.mobilemail badge to 3\n",
       "iconcount: cannot open " + kUIKit + "\n"},
      {"iconcount_AMissingEntryPointIsNamedAndNeverCalled",
       "iconcount",
       kSpringBoardServices,
       kGraphicsServices,
       {{"id", "com.example.app", "3"}},
       "Setting com.example.app badge to 3\n",
       "iconcount: cannot find SBSSpringBoardServerPort in " + kUIKit + "\n"},
      {"indicator_AMissingFrameworkIsNamedNeverCalledAndEndsWithStatus1",
       "indicator",
       kUIKit,
       "",
       {{"-s", "A"}, {"-r", "A"}, {"-t", "A"}},
       "",
       "indicator: cannot open " + kUIKit + "\n",
       [](const e2e::TemporaryDevice& device, const Dictionary&) {
         // The listing needs no framework.
         EXPECT_EQ(e2e::runProgram(device, "indicator", {"-l"}).status, 0);
       }},
      {"indicator_AMissingEntryPointIsNamedNeverCalledAndEndsWithStatus1",
       "indicator",
       kSpringBoardServices,
       kGraphicsServices,
       {{"-s", "A", "-r", "A"}},
       "",
       "indicator: cannot find SBSSpringBoardServerPort in " + kUIKit + "\n"},
      // No usage line after the failure.
      {"radio_AMissingFrameworkIsNamedNeverCalledAndEndsWithStatus1",
       "radio",
       kUIKit,
       "",
       {{}, {"y"}, {"n"}},
       "",
       "radio: cannot open " + kUIKit + "\n",
       [](const e2e::TemporaryDevice& device, const Dictionary&) {
         EXPECT_FALSE(e2e::visibleState(device, "airplaneMode"));
       }},
      {"radio_AMissingEntryPointIsNamedNeverCalledAndEndsWithStatus1",
       "radio",
       kSpringBoardServices,
       kGraphicsServices,
       {{}, {"y"}},
       "",
       "radio: cannot find SBSSpringBoardServerPort in " + kUIKit + "\n"},
      {"storequery_AMissingUIKitIsReportedAndNothingIsOpened",
       "storequery",
       kUIKit,
       "",
       {{"Beatles"}},
       "",
       "storequery: cannot open " + kUIKit + "\n"},
      // A library without the application class: GraphicsServices in its place.
      {"storequery_AMissingEntryPointIsReportedAndNothingIsOpened",
       "storequery",
       kUIKit,
       kGraphicsServices,
       {{"Beatles"}},
       "",
       "storequery: cannot find UIApplication in " + kUIKit + "\n"},
      {"homeprefs_AMissingGraphicsServicesIsReportedAfterTheChangeIsWritten",
       "homeprefs",
       kGraphicsServices,
       "",
       {{"-i", "5", "SBAutoLockTime"}},
       "Setting SBAutoLockTime to 5\n",
       ownerWarning() + "homeprefs: cannot open " + kGraphicsServices + "\n",
       [](const e2e::TemporaryDevice& device, Dictionary expected) {
         expected.set("SBAutoLockTime", Value(5));
         EXPECT_EQ(preferences(device), expected);
       }},
      // A library without the entry point: SpringBoardServices in its place.
      {"homeprefs_AMissingEntryPointIsReportedAfterTheChangeIsWritten",
       "homeprefs",
       kGraphicsServices,
       kSpringBoardServices,
       {{"-r", "SBAutoLockTime"}},
       "Removing key SBAutoLockTime\n",
       ownerWarning() + "homeprefs: cannot find GSSendAppPreferencesChanged in " + kGraphicsServices + "\n",
       [](const e2e::TemporaryDevice& device, const Dictionary&) {
         EXPECT_FALSE(preferences(device).find("SBAutoLockTime"));
       }},
  };
}

class MissingFrameworkTest : public testing::TestWithParam<Case> {};

TEST_P(MissingFrameworkTest, IsNamedOnStandardErrorWithStatus1AndNeverCalled) {
  const Case& c = GetParam();
  e2e::TemporaryDevice device;
  Dictionary preferencesBefore = preferences(device);
  if (c.standIn.empty()) fs::remove(device.host(c.library));
  else device.replaceLibrary(c.library, c.standIn);
  for (const auto& arguments : c.runs) {
    e2e::Result r = e2e::runProgram(device, c.tool, arguments);
    std::string shown = c.tool + (arguments.empty() ? "" : " " + arguments[0]);
    EXPECT_EQ(r.out, c.out) << shown;
    EXPECT_EQ(r.err, c.err) << shown;
    ASSERT_TRUE(r.exited) << shown << ": signal " << r.signal;
    EXPECT_EQ(r.status, 1) << shown;
  }
  EXPECT_TRUE(device.journal().empty());
  if (c.afterwards) c.afterwards(device, preferencesBefore);
}

INSTANTIATE_TEST_SUITE_P(Tools, MissingFrameworkTest, testing::ValuesIn(cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
