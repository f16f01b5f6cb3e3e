// indicator as a user runs it, against a fresh copy of the sample device.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

namespace fs = std::filesystem;
using platform::plist::Value;

namespace {

const std::string kIconFolder = "/System/Library/CoreServices/SpringBoard.app";
const std::string kOwner = "com.tovek.SlimDemo";

const std::string kUsageBody =
    "-l          List the available status bar icons and exit\n"
    "-s icon     Set a status bar icon\n"
    "-r icon     Remove a status bar icon\n"
    "-t icon     Check icon for 3 seconds, then remove\n";

std::vector<std::string> added(const std::string& name) {
  return {"SBSSpringBoardServerPort", "SBAddStatusBarItem\t" + kOwner + "\t" + name};
}
std::vector<std::string> removed(const std::string& name) {
  return {"SBSSpringBoardServerPort", "SBRemoveStatusBarItem\t" + name};
}
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class IndicatorTest : public ::testing::Test {
 protected:
  e2e::Result indicator(std::vector<std::string> arguments) {
    return e2e::runProgram(device, "indicator", std::move(arguments));
  }
  // A quiet run: nothing printed, status 0.
  void expectQuiet(const e2e::Result& r) {
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));
  }
  std::optional<Value> visibleItem(const std::string& name) {
    return e2e::visibleEntry(device, "statusBarItems", name);
  }
  // Replaces SpringBoard's bundle folder with one holding exactly these entries.
  void iconFolder(const std::vector<std::string>& files, const std::vector<std::string>& folders = {}) {
    fs::path folder = device.host(kIconFolder);
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& name : files) std::ofstream(folder / name) << "png";
    for (const auto& name : folders) fs::create_directory(folder / name);
  }
  // The icon folder's entry names in the order the file system lists them.
  std::vector<std::string> folderOrder() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(device.host(kIconFolder))) names.push_back(entry.path().filename());
    return names;
  }
  // Seconds since the epoch of each journal line, in order.
  std::vector<double> journalTimes() {
    std::vector<double> times;
    std::ifstream in(device.host("/private/var/sim/journal"));
    for (std::string line; std::getline(in, line);) times.push_back(std::stod(line.substr(0, line.find('\t'))));
    return times;
  }

  e2e::TemporaryDevice device;
};

TEST_F(IndicatorTest, WithoutOptionsCarriedOutTheUsageIsShownWithStatus0) {
  for (auto arguments :
       std::vector<std::vector<std::string>>{{}, {"foo"}, {"foo", "-s", "A"}, {"--"}, {"--", "-s", "A"}}) {
    auto r = indicator(arguments);
    EXPECT_EQ(r.out, e2e::program("indicator") + " [options]\n" + kUsageBody) << arguments.size();
    EXPECT_EQ(r.err, "");
    ASSERT_TRUE(e2e::exitedWith(r, 0));
  }
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(IndicatorTest, OptionsAreCarriedOutInCommandLineOrder) {
  auto r = indicator({"-s", "A", "-r", "B"});
  expectQuiet(r);
  EXPECT_EQ(device.journal(), added("A") + removed("B"));
  EXPECT_EQ(visibleItem("A"), Value(kOwner));

  device.clearJournal();
  r = indicator({"-sB", "-rA", "-s", "two words", "operand", "-r", "B"});
  expectQuiet(r);
  EXPECT_EQ(device.journal(), added("B") + removed("A") + added("two words"));
  EXPECT_FALSE(visibleItem("A"));
  EXPECT_EQ(visibleItem("B"), Value(kOwner)) << "scanning stops at the first operand";
  EXPECT_EQ(visibleItem("two words"), Value(kOwner));
}

TEST_F(IndicatorTest, BrieflyShownItemIsRemovedAboutThreeSecondsLater) {
  auto r = indicator({"-t", "A", "-s", "B"});
  expectQuiet(r);
  EXPECT_EQ(device.journal(), added("A") + removed("A") + added("B"));
  std::vector<double> times = journalTimes();
  ASSERT_EQ(times.size(), 6u);
  double shown = times[3] - times[1];
  EXPECT_GE(shown, 2.5);
  EXPECT_LE(shown, 6.0);
  EXPECT_LT(times[5] - times[3], 2.0) << "the next option follows at once";
  EXPECT_FALSE(visibleItem("A"));
  EXPECT_TRUE(visibleItem("B"));
}

TEST_F(IndicatorTest, TheListingEndsTheRunAndWhatCameBeforeItStands) {
  auto listed = indicator({"-l"});
  EXPECT_EQ(listed.err, "");
  EXPECT_EQ(listed.status, 0);
  ASSERT_GT(listed.out.size(), 1u);
  EXPECT_TRUE(device.journal().empty()) << "listing never talks to SpringBoard";

  auto r = indicator({"-s", "A", "-l", "-r", "A"});
  EXPECT_EQ(r.out, listed.out);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(device.journal(), added("A"));

  device.clearJournal();
  for (auto arguments : std::vector<std::vector<std::string>>{{"-l", "-s", "A"}, {"-lsA"}, {"-l", "-x"}}) {
    r = indicator(arguments);
    EXPECT_EQ(r.out, listed.out);
    EXPECT_EQ(r.status, 0);
  }
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(IndicatorTest, BadOptionsMissingValuesAndDashBEndTheRunSilentlyWithStatus0) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> journal;
  };
  for (const Case& c : {Case{{"-s", "A", "-x", "-r", "B"}, added("A")}, Case{{"-b", "1", "-s", "A"}, {}},
                        Case{{"-b1", "-s", "A"}, {}}, Case{{"-s"}, {}}, Case{{"-s", "A", "-t"}, added("A")},
                        Case{{"-r", "A", "-b"}, removed("A")}, Case{{"-x", "-s", "A"}, {}}}) {
    device.clearJournal();
    auto r = indicator(c.arguments);
    expectQuiet(r);
    EXPECT_EQ(device.journal(), c.journal) << c.arguments[0] << " " << c.arguments.size();
  }
  EXPECT_FALSE(visibleItem("B"));
}

TEST_F(IndicatorTest, TheSampleListingNamesEveryStatusBarImageInFolderOrder) {
  std::vector<std::string> expected;
  for (const auto& name : folderOrder()) {
    if (!name.ends_with(".png")) continue;
    if (name.starts_with("Default_")) expected.push_back(name.substr(8, name.size() - 12));
    if (name.starts_with("FSO_")) expected.push_back(name.substr(4, name.size() - 8));
  }
  ASSERT_EQ(expected.size(), 26u) << "the sample ships 14 Default_ and 12 FSO_ images";
  auto r = indicator({"-l"});
  std::vector<std::string> listed;
  std::string word;
  for (char c : r.out) {
    if (c != '\t' && c != '\n') {
      word += c;
    } else if (!word.empty()) {
      listed.push_back(word);
      word.clear();
    }
  }
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 26 / 3 + 1);
  EXPECT_TRUE(r.out.ends_with("\t\n")) << "26 names: the last row holds two";
}

TEST_F(IndicatorTest, EachNameGetsTabsByItsLengthAndTheListingEndsWithALineEnd) {
  struct Case {
    std::string file, out;
  };
  for (const Case& c : {Case{"Default_Seven77.png", "Seven77\t\t\t\n"}, Case{"Default_Eight888.png", "Eight888\t\t\n"},
                        Case{"FSO_FifteenChars15x.png", "FifteenChars15x\t\t\n"},
                        Case{"FSO_SixteenChars16xx.png", "SixteenChars16xx\t\n"}, Case{"Other.png", "\n"},
                        Case{"Default_Bar.gif", "\n"}, Case{"Default_Foo.PNG", "\n"}}) {
    iconFolder({c.file});
    auto r = indicator({"-l"});
    EXPECT_EQ(r.out, c.out) << c.file;
    EXPECT_EQ(r.status, 0);
  }
}

TEST_F(IndicatorTest, OnlyPngImagesWithAStatusBarPrefixAreListedInFolderOrderThreeToALine) {
  std::map<std::string, std::string> shown{{"Default_Foo.png", "Foo\t\t\t"},
                                           {"FSO_Foo.png", "Foo\t\t\t"},
                                           {"Default_Seven77.png", "Seven77\t\t\t"},
                                           {"Default_Eight888.png", "Eight888\t\t"},
                                           {"FSO_FifteenChars15x.png", "FifteenChars15x\t\t"},
                                           {"FSO_SixteenChars16xx.png", "SixteenChars16xx\t"}};
  std::vector<std::string> files{"Other.png", "Default_Bar.gif", "Default.png", "Icon.png"};
  for (const auto& [file, text] : shown) files.push_back(file);
  iconFolder(files, {"English.lproj"});

  std::string expected;
  int printed = 0;
  for (const auto& name : folderOrder()) {
    if (!shown.count(name)) continue;
    expected += shown[name];
    if (++printed % 3 == 0) expected += '\n';
  }
  ASSERT_EQ(printed, 6);
  expected += '\n';
  auto r = indicator({"-l"});
  EXPECT_EQ(r.out, expected);
  EXPECT_TRUE(r.out.ends_with("\n\n")) << "six names fill two lines, then the closing line end";
  EXPECT_EQ(r.status, 0);
}

TEST_F(IndicatorTest, ExactlyThreeNamesEndWithAnEmptyLineAndNoFolderListsNothing) {
  iconFolder({"FSO_A.png", "FSO_B.png", "FSO_C.png"});
  std::string expected;
  for (const auto& name : folderOrder()) expected += name.substr(4, 1) + "\t\t\t";
  auto r = indicator({"-l"});
  EXPECT_EQ(r.out, expected + "\n\n");

  iconFolder({});
  r = indicator({"-l"});
  EXPECT_EQ(r.out, "\n");
  fs::remove_all(device.host(kIconFolder));
  r = indicator({"-l"});
  EXPECT_EQ(r.out, "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

}  // namespace
