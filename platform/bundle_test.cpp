#include "platform/bundle.h"
#include "tests/support/bundle.h"
#include "tests/support/scratch_root.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

class BundleTest : public ::testing::Test {
 protected:
  void info(const std::string& bundle, const std::string& bytes) {
    test_support::bundleWithInfo(scratch_.path() / bundle, bytes);
  }
  std::optional<std::string> identifierOf(const std::string& bundlePath) {
    auto description = platform::bundleDescription(bundlePath);
    return description ? platform::bundleIdentifier(*description) : std::nullopt;
  }
  ScratchRoot scratch_;
};

TEST_F(BundleTest, TheIdentifierComesFromTheDescriptionDirectlyInTheBundle) {
  Dictionary d;
  d.set("CFBundleIdentifier", Value("com.example.app"));
  info("Applications/App.app", platform::plist::toXml(Value(d)));
  info("Applications/Nested.app/Inner", platform::plist::toXml(Value(d)));
  EXPECT_EQ(identifierOf("/Applications/App.app"), "com.example.app");
  EXPECT_FALSE(platform::bundleDescription("/Applications/Nested.app")) << "only Info.plist at the top counts";
  EXPECT_FALSE(platform::bundleDescription("/Applications/Missing.app"));
}

TEST_F(BundleTest, ADescriptionThatIsNoDictionaryOrGivesNoTextIsNoIdentifier) {
  info("A.app", "not a property list");
  info("B.app", platform::plist::toXml(Value(platform::plist::Array{Value("com.example.b")})));
  EXPECT_FALSE(platform::bundleDescription("/A.app"));
  EXPECT_FALSE(platform::bundleDescription("/B.app"));

  Dictionary noKey, number;
  noKey.set("CFBundleName", Value("C"));
  number.set("CFBundleIdentifier", Value(5));
  EXPECT_FALSE(platform::bundleIdentifier(noKey));
  EXPECT_FALSE(platform::bundleIdentifier(number));
}

}  // namespace
