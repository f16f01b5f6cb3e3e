// iconcount as a user runs it, against a fresh copy of the sample device.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "platform/plist/plist.h"
#include "tests/support/bundle.h"
#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

namespace fs = std::filesystem;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

const std::string kNotice = "Searching for application id (this can take some time)\n";
const std::string kUserApps = "/private/var/mobile/Applications";

class IconcountTest : public ::testing::Test {
 protected:
  // Replaces the sample's user applications with an empty folder.
  void emptyUserApplications() {
    fs::remove_all(device.host(kUserApps));
    fs::create_directories(device.host(kUserApps));
  }
  // A bundle below the user applications folder; no Info.plist when id is
  // nothing, an Info.plist without CFBundleIdentifier when it is empty.
  void bundle(const std::string& relativePath, std::optional<std::string> id) {
    fs::path folder = device.host(kUserApps + "/" + relativePath);
    fs::create_directories(folder / "Resources");
    std::ofstream(folder / "Resources" / "Icon.png") << "png";
    if (id) test_support::bundleWithInfo(folder, test_support::infoWith(id->empty() ? "" : "CFBundleIdentifier", *id));
  }
  e2e::Result iconcount(std::vector<std::string> arguments) {
    return e2e::runProgram(device, "iconcount", std::move(arguments));
  }
  std::vector<std::string> badgeSent(const std::string& id, const std::string& number) {
    return {"SBSSpringBoardServerPort", "SBSetApplicationBadgeNumber\t" + id + "\t" + number};
  }
  std::optional<Value> visibleBadge(const std::string& id) { return e2e::visibleEntry(device, "badges", id); }
  void expectUsage(const e2e::Result& r) {
    std::string p = e2e::program("iconcount");
    EXPECT_EQ(r.out, p + " application-name (badge-number)\nor\n" + p + " id application-id (badge-number)\nor\n" + p +
                         " list\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 255);
    EXPECT_TRUE(device.journal().empty());
  }

  e2e::TemporaryDevice device;
};

TEST_F(IconcountTest, MailIsBadgedFromTheTableAndTheBadgeIsVisible) {
  auto r = iconcount({"Mail", "3"});
  EXPECT_EQ(r.out, "Setting com.apple.mobilemail badge to 3\n");
  EXPECT_EQ(r.err, "");
  ASSERT_TRUE(e2e::exitedWith(r, 0));
  EXPECT_EQ(device.journal(), badgeSent("com.apple.mobilemail", "3"));
  EXPECT_EQ(visibleBadge("com.apple.mobilemail"), Value(3));
}

TEST_F(IconcountTest, WithoutArgumentsPrintsTheUsageAsTypedAndFails) { expectUsage(iconcount({})); }

TEST_F(IconcountTest, IdAloneIsAUsageError) {
  expectUsage(iconcount({"id"}));
  expectUsage(iconcount({"Id"}));
}

TEST_F(IconcountTest, IdSendsTheIdentifierUntestedAndIgnoresWhatFollows) {
  auto r = iconcount({"ID", "com.example.whatever", "5", "surplus"});
  EXPECT_EQ(r.out, "Setting com.example.whatever badge to 5\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(device.journal(), badgeSent("com.example.whatever", "5"));
  EXPECT_EQ(visibleBadge("com.example.whatever"), Value(5));
}

TEST_F(IconcountTest, TableNamesIgnoreCaseNeedNoDiskAndPrintNoNotice) {
  // Without the stock or user applications the table still answers.
  fs::remove_all(device.host("/Applications"));
  fs::remove_all(device.host(kUserApps));
  struct Case {
    std::string name, id;
  };
  for (const Case& c :
       {Case{"mail", "com.apple.mobilemail"}, Case{"MAIL", "com.apple.mobilemail"},
        Case{"Timer", "com.apple.mobiletimer"}, Case{"clock", "com.apple.mobiletimer"},
        Case{"Photos", "com.apple.mobileslideshow-Photos"}, Case{"camera", "com.apple.mobileslideshow-Camera"},
        Case{"VIDEO", "com.apple.mobileipod-VideoPlayer"}, Case{"settings", "com.apple.Preferences"},
        Case{"iTunes", "com.apple.MobileStore"}}) {
    device.clearJournal();
    auto r = iconcount({c.name, "1"});
    EXPECT_EQ(r.out, "Setting " + c.id + " badge to 1\n") << c.name;
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(device.journal(), badgeSent(c.id, "1")) << c.name;
  }
}

TEST_F(IconcountTest, MailWithoutNumberSendsZero) {
  auto r = iconcount({"Mail"});
  EXPECT_EQ(r.out, "Setting com.apple.mobilemail badge to 0\n");
  EXPECT_EQ(device.journal(), badgeSent("com.apple.mobilemail", "0"));
  EXPECT_FALSE(visibleBadge("com.apple.mobilemail")) << "a badge of 0 takes the badge off";
}

TEST_F(IconcountTest, NumbersAreReadLikeAtoi) {
  for (auto [argument, sent] : std::vector<std::pair<std::string, std::string>>{
           {"12abc", "12"}, {"abc", "0"}, {"-3", "-3"}, {" +8", "8"}, {"2147483647", "2147483647"}}) {
    device.clearJournal();
    auto r = iconcount({"Mail", argument, "ignored"});
    EXPECT_EQ(r.out, "Setting com.apple.mobilemail badge to " + sent + "\n") << argument;
    EXPECT_EQ(device.journal(), badgeSent("com.apple.mobilemail", sent)) << argument;
  }
}

TEST_F(IconcountTest, ANumberOutsideTheSigned32BitRangeIsRefusedAndNothingSent) {
  for (auto arguments : std::vector<std::vector<std::string>>{
           {"Mail", "2147483648"}, {"id", "com.apple.mobilemail", "-99999999999"}, {"NoSuchApp", "5000000000"}}) {
    auto r = iconcount(arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "iconcount: badge number out of range (-2147483648 to 2147483647): " + arguments.back() + "\n");
    ASSERT_TRUE(e2e::exitedWith(r, 255));
    EXPECT_TRUE(device.journal().empty());
  }
}

TEST_F(IconcountTest, ATrailingBlankIsNoTableNameAndStartsTheSearch) {
  auto r = iconcount({"Mail ", "2"});
  EXPECT_EQ(r.out, kNotice + "Error: Could not find application for Mail \n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 255);
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(IconcountTest, AStockBundleOutsideTheTableIsFoundByItsFolderName) {
  auto r = iconcount({"MobileMail", "4"});
  EXPECT_EQ(r.out, kNotice + "Setting com.apple.mobilemail badge to 4\n");
  EXPECT_EQ(device.journal(), badgeSent("com.apple.mobilemail", "4"));
}

TEST_F(IconcountTest, TheTableWinsOverAUserApplicationOfTheSameName) {
  bundle("11111111-AAAA-BBBB-CCCC-000000000001/Mail.app", "com.example.fakemail");
  auto r = iconcount({"Mail", "1"});
  EXPECT_EQ(r.out, "Setting com.apple.mobilemail badge to 1\n");
}

TEST_F(IconcountTest, UserApplicationsAreFoundByExactNameWithAnyCaseOfExtension) {
  emptyUserApplications();
  bundle("G1/MyApp.app", "com.example.myapp");
  bundle("G2/Deep/er/Other.APP", "com.example.other");
  bundle("G3/Foo.bar.app", "com.example.foobar");

  auto r = iconcount({"MyApp", "7"});
  EXPECT_EQ(r.out, kNotice + "Setting com.example.myapp badge to 7\n");
  EXPECT_EQ(device.journal(), badgeSent("com.example.myapp", "7"));

  r = iconcount({"Other", "1"});
  EXPECT_EQ(r.out, kNotice + "Setting com.example.other badge to 1\n") << "bundles lie at any depth";
  r = iconcount({"Foo.bar", "1"});
  EXPECT_EQ(r.out, kNotice + "Setting com.example.foobar badge to 1\n");

  device.clearJournal();
  r = iconcount({"myapp", "7"});
  EXPECT_EQ(r.out, kNotice + "Error: Could not find application for myapp\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(IconcountTest, OfTwoBundlesWithOneNameTheFirstInWalkOrderWins) {
  emptyUserApplications();
  bundle("G1/Twins.app", "com.example.twins.one");
  bundle("G2/Twins.app", "com.example.twins.two");
  // The walk takes folders in the order the file system lists them.
  std::string first;
  for (const auto& entry : fs::directory_iterator(device.host(kUserApps))) {
    first = entry.path().filename() == "G1" ? "com.example.twins.one" : "com.example.twins.two";
    break;
  }
  auto r = iconcount({"Twins", "2"});
  EXPECT_EQ(r.out, kNotice + "Setting " + first + " badge to 2\n");
}

TEST_F(IconcountTest, ABundleWithoutUsableInfoPlistIsNotFound) {
  emptyUserApplications();
  bundle("G1/Broken.app", std::nullopt);
  bundle("G2/NoIdent.app", "");
  for (std::string name : {"Broken", "NoIdent"}) {
    auto r = iconcount({name, "1"});
    EXPECT_EQ(r.out, kNotice + "Error: Could not find application for " + name + "\n");
    EXPECT_EQ(r.status, 255);
  }
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(IconcountTest, WithoutUserApplicationsFolderTheLookupFailsAfterTheNotice) {
  fs::remove_all(device.host(kUserApps));
  auto r = iconcount({"Anything"});
  EXPECT_EQ(r.out, kNotice + "Error: Could not find application for Anything\n");
  EXPECT_EQ(r.status, 255);
}

TEST_F(IconcountTest, AnApplicationThreeHundredFoldersDeepIsFoundWithFewDescriptors) {
  emptyUserApplications();
  std::string deep = "G1";
  for (int level = 0; level < 300; ++level) deep += "/f";
  bundle(deep + "/Deep.app", "com.example.deep");
  bundle("G2/Shallow.app", "com.example.shallow");

  // What the programs started now inherit: 64 descriptors in all.
  rlimit saved;
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  auto found = iconcount({"Deep", "4"});
  auto listed = iconcount({"list"});
  setrlimit(RLIMIT_NOFILE, &saved);

  EXPECT_EQ(found.out, kNotice + "Setting com.example.deep badge to 4\n");
  EXPECT_EQ(found.err, "");
  EXPECT_EQ(found.status, 0);
  EXPECT_NE(listed.out.find("                Deep\tcom.example.deep\n"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("             Shallow\tcom.example.shallow\n"), std::string::npos) << listed.out;
  EXPECT_EQ(listed.err, "");
}

TEST_F(IconcountTest, ListPrintsEveryReadableBundleAndIgnoresWhatFollows) {
  emptyUserApplications();
  bundle("G1/MyApp.app", "com.example.myapp");
  bundle("G2/Shouty.APP", "com.example.shouty");
  bundle("G3/Broken.app", std::nullopt);
  bundle("G4/NoIdent.app", "");
  bundle("G5/A Very Long Application Name.app", "com.example.long");
  bundle("G6/Foo.bar.app", "com.example.foobar");
  fs::create_directories(device.host(kUserApps + "/G7/Documents"));

  for (std::string keyword : {"list", "LIST", "List"}) {
    auto r = iconcount({keyword, "more", "args"});
    ASSERT_TRUE(e2e::exitedWith(r, 0));
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out.rfind("User Applications:\n", 0), 0u) << r.out;
    std::multiset<std::string> lines;
    std::istringstream rest(r.out.substr(19));
    for (std::string line; std::getline(rest, line);) lines.insert(line);
    EXPECT_EQ(lines, (std::multiset<std::string>{
                         "               MyApp\tcom.example.myapp",
                         "              Shouty\tcom.example.shouty",
                         "             NoIdent\t",
                         "A Very Long Application Name\tcom.example.long",
                         "             Foo.bar\tcom.example.foobar",
                     }));
    EXPECT_EQ(r.out.back(), '\n');
  }
  EXPECT_TRUE(device.journal().empty()) << "listing never talks to SpringBoard";
}

TEST_F(IconcountTest, ListWithoutUserApplicationsFolderPrintsOnlyTheHeading) {
  fs::remove_all(device.host(kUserApps));
  auto r = iconcount({"list"});
  EXPECT_EQ(r.out, "User Applications:\n");
  EXPECT_EQ(r.status, 0);
}

TEST_F(IconcountTest, ListAndIdAreKeywordsSoSuchAppsAreReachedById) {
  bundle("G1/list.app", "com.example.list");
  auto r = iconcount({"id", "com.example.list", "1"});
  EXPECT_EQ(r.out, "Setting com.example.list badge to 1\n");
  r = iconcount({"list"});
  EXPECT_NE(r.out.find("                list\tcom.example.list\n"), std::string::npos);
}

}  // namespace
