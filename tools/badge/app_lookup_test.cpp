#include "tools/badge/app_lookup.h"
#include "tests/support/bundle.h"
#include "tests/support/scratch_root.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/plist/plist.h"

namespace fs = std::filesystem;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

class AppLookupTest : public ::testing::Test {
 protected:
  // A bundle at a device path whose Info.plist names the identifier.
  void bundle(const std::string& devicePath, const std::string& id) {
    test_support::bundleWithInfo(scratch_.path() / fs::path(devicePath).relative_path(),
                                 test_support::infoWith("CFBundleIdentifier", Value(id)));
  }
  ScratchRoot scratch_;
};

TEST_F(AppLookupTest, TheNameIsTheBundleFolderInTheStockApplicationsFolderUnchanged) {
  bundle("/Applications/MobileMail.app", "com.apple.mobilemail");
  bundle("/Applications/My App.app", "com.example.spaced");
  EXPECT_EQ(badge::stockBundleId("MobileMail"), "com.apple.mobilemail");
  EXPECT_EQ(badge::stockBundleId("My App"), "com.example.spaced");
  EXPECT_FALSE(badge::stockBundleId("mobilemail")) << "the name is not case-folded";
  EXPECT_FALSE(badge::stockBundleId("MobileMail.app"));
  EXPECT_FALSE(badge::stockBundleId("Mail")) << "no table of display names";
  EXPECT_FALSE(badge::stockBundleId(""));
}

TEST_F(AppLookupTest, BundlesAnywhereElseAreNeverFound) {
  bundle("/var/mobile/Applications/G1/Chirp.app", "com.example.chirp");
  bundle("/Applications/Games/Sudoku.app", "com.example.sudoku");
  bundle("/System/Library/CoreServices/SpringBoard.app", "com.apple.springboard");
  EXPECT_FALSE(badge::stockBundleId("Chirp"));
  EXPECT_FALSE(badge::stockBundleId("Games/Sudoku"));
  EXPECT_FALSE(badge::stockBundleId("../System/Library/CoreServices/SpringBoard"));
  EXPECT_FALSE(badge::stockBundleId("../var/mobile/Applications/G1/Chirp"));
}

}  // namespace
