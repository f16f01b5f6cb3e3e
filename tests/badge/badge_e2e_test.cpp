// badge as a user runs it, against a fresh copy of the sample device.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/plist/plist.h"
#include "tests/support/bundle.h"
#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

namespace fs = std::filesystem;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

class BadgeTest : public ::testing::Test {
 protected:
  e2e::Result badge(std::vector<std::string> arguments) {
    return e2e::runProgram(device, "badge", std::move(arguments));
  }
  // A stock bundle whose Info.plist holds the given bytes.
  void stockBundle(const std::string& name, const std::string& infoBytes) {
    test_support::bundleWithInfo(device.host("/Applications/" + name + ".app"), infoBytes);
  }
  static std::string infoWith(const std::string& key, Value value) { return test_support::infoWith(key, value); }
  static std::vector<std::string> badgeSent(const std::string& id, const std::string& journalledText) {
    return {"SBSSpringBoardServerPort", "SBSetApplicationBadge\t" + id + "\t" + journalledText};
  }
  void expectNotFound(const std::string& name) {
    device.clearJournal();
    auto r = badge({name, "5"});
    EXPECT_EQ(r.out, "Error: Could not find application for " + name + "\n");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 255)) << name;
    EXPECT_TRUE(device.journal().empty()) << name;
  }

  e2e::TemporaryDevice device;
};

TEST_F(BadgeTest, WithoutArgumentsPrintsTheUsageAsTypedAndSendsNothing) {
  auto r = badge({});
  EXPECT_EQ(r.out, e2e::program("badge") + " application-name (badge)\n");
  EXPECT_EQ(r.err, "");
  ASSERT_TRUE(e2e::exitedWith(r, 255));
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(BadgeTest, TheTextIsSentUnchangedAndBecomesTheVisibleBadge) {
  struct Case {
    std::vector<std::string> arguments;
    std::string id, journalled;
  };
  // MobileMail's Info.plist is a binary property list, Stocks' an XML one.
  for (const Case& c :
       {Case{{"MobileMail", "5"}, "com.apple.mobilemail", "5"}, Case{{"Stocks", "New"}, "com.apple.stocks", "New"},
        Case{{"MobileMail", "007", "surplus", "more"}, "com.apple.mobilemail", "007"},
        Case{{"Weather", "two words"}, "com.apple.weather", "two words"},
        Case{{"Weather", "tab\there"}, "com.apple.weather", "tab\\there"}}) {
    device.clearJournal();
    auto r = badge(c.arguments);
    EXPECT_EQ(r.out, "attempting to badge " + c.id + "\n");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));
    EXPECT_EQ(device.journal(), badgeSent(c.id, c.journalled));
    EXPECT_EQ(e2e::visibleEntry(device, "badges", c.id), Value(c.arguments[1]));
  }
}

TEST_F(BadgeTest, WithoutTextTheEmptyTextIsSentAndTakesTheBadgeOff) {
  ASSERT_EQ(badge({"MobileMail", "3"}).status, 0);
  ASSERT_TRUE(e2e::visibleEntry(device, "badges", "com.apple.mobilemail"));
  device.clearJournal();
  auto r = badge({"MobileMail"});
  EXPECT_EQ(r.out, "attempting to badge com.apple.mobilemail\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(device.journal(), badgeSent("com.apple.mobilemail", ""));
  EXPECT_FALSE(e2e::visibleEntry(device, "badges", "com.apple.mobilemail"));

  device.clearJournal();
  r = badge({"Stocks", ""});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(device.journal(), badgeSent("com.apple.stocks", ""));
}

TEST_F(BadgeTest, OnlyBundleFoldersDirectlyInTheStockFolderAreFoundByTheirNameAsTyped) {
  // Display names, other case, the ending typed along and user applications
  // (Chirp is one in the sample) are all not found.
  for (std::string name : {"Mail", "mobilemail", "MOBILEMAIL", "MobileMail.app", "MobileMail ", "Chirp", ""})
    expectNotFound(name);
  // A slash would reach bundles outside the stock folder.
  for (std::string name :
       {"../System/Library/CoreServices/SpringBoard",
        "../var/mobile/Applications/A406C298-F3B5-4617-82A9-D5E4F3021789/Chirp", "/MobileMail", "./MobileMail"})
    expectNotFound(name);
  ASSERT_TRUE(fs::exists(device.host("/System/Library/CoreServices/SpringBoard.app/Info.plist")));
}

TEST_F(BadgeTest, ABundleWithoutAReadableDictionaryOrATextIdentifierIsNotFound) {
  stockBundle("NoIdent", infoWith("CFBundleName", Value("NoIdent")));
  stockBundle("NumberIdent", infoWith("CFBundleIdentifier", Value(42)));
  stockBundle("Corrupt", "<plist><dict><key>CFBundleIdentifier");
  stockBundle("Listed", platform::plist::toXml(Value(platform::plist::Array{Value("com.example.listed")})));
  fs::create_directories(device.host("/Applications/Empty.app"));
  for (std::string name : {"NoIdent", "NumberIdent", "Corrupt", "Listed", "Empty"}) expectNotFound(name);

  stockBundle("Fresh", infoWith("CFBundleIdentifier", Value("com.example.fresh")));
  auto r = badge({"Fresh", "!"});
  EXPECT_EQ(r.out, "attempting to badge com.example.fresh\n");
  EXPECT_EQ(device.journal(), badgeSent("com.example.fresh", "!"));
}

}  // namespace
