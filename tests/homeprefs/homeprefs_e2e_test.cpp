// homeprefs as a user runs it, against a fresh copy of the sample device.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/plist/plist.h"
#include "tests/homeprefs/preferences_file.h"
#include "tests/support/device.h"

namespace fs = std::filesystem;
using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

using homeprefs_test::kPrefs;
using homeprefs_test::ownerWarning;

const std::string kUsageBody =
    "This utility sets and updates SpringBoard prefs.\n"
    "   -l          list existing values\n"
    "   -i value    set the key to the integer value\n"
    "   -f value    set the key to the float value\n"
    "   -s value    set the key to the string value\n"
    "   -a value    set the key to the array value\n"
    "   -1          set the key to true\n"
    "   -0          set the key to false\n"
    "   -r          remove the key and its value\n"
    "No more than one option can be used at a time.\n";

std::string announced(const std::string& key) { return "GSSendAppPreferencesChanged\tcom.apple.springboard\t" + key; }

class HomeprefsTest : public homeprefs_test::PreferencesFileTest {
 protected:
  void SetUp() override {
    original = fileBytes();
    originalInode = inode();
    originalEntries = entries();
    device.clearJournal();
  }

  // As homeprefs, with files limited to 512 bytes (one block of /bin/sh's
  // ulimit), less than the preferences file, so that its write fails. Not 0:
  // an emulator writes out what it shows a program as /proc/self/cmdline,
  // which GNUstep Base reads as it starts.
  e2e::Result homeprefsUnableToWrite(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), e2e::program("homeprefs"));
    EXPECT_GT(fileBytes().size(), 512u) << "the file must not fit the limit";
    return e2e::run(device, e2e::throughShell("ulimit -f 1; trap '' XFSZ; exec \"$@\"", arguments));
  }

  ino_t inode() const {
    struct stat st {};
    stat(device.host(kPrefs).c_str(), &st);
    return st.st_ino;
  }
  void expectUntouched() const {
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(inode(), originalInode);
    EXPECT_TRUE(device.journal().empty());
  }
  // The file was replaced by a new one, given to the mobile user, holding
  // exactly the expected entries, and the key was announced.
  void expectRewritten(const Dictionary& expected, const std::string& key) const {
    EXPECT_EQ(entries(), expected);
    EXPECT_NE(inode(), originalInode) << "a new file renamed over the old one";
    struct stat st {};
    ASSERT_EQ(stat(device.host(kPrefs).c_str(), &st), 0);
    if (getuid() == 0) {
      EXPECT_EQ(st.st_uid, 501u);
      EXPECT_EQ(st.st_gid, 501u);
    }
    EXPECT_EQ(device.journal(), std::vector<std::string>{announced(key)});
    EXPECT_EQ(filesBesideThePreferences(), 1u) << "no temporary file left beside it";
  }
  Dictionary originalWith(const std::string& key, Value value) const {
    Dictionary d = originalEntries;
    d.set(key, std::move(value));
    return d;
  }

  std::string original;
  ino_t originalInode = 0;
  Dictionary originalEntries;
};

TEST_F(HomeprefsTest, TheSampleHasPreferencesToWorkOn) { ASSERT_GE(originalEntries.size(), 10u); }

TEST_F(HomeprefsTest, ArgumentCountsOutsideOneToThreeAndAMissingKeyPrintTheUsage) {
  for (auto arguments :
       std::vector<std::vector<std::string>>{{}, {"-i", "5", "key", "extra"}, {"-r"}, {"-i", "5"}, {"-r", "--"}}) {
    auto r = homeprefs(arguments);
    EXPECT_EQ(r.out, "Usage: " + e2e::program("homeprefs") + " [options] key\n" + kUsageBody) << arguments.size();
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 255);
  }
  expectUntouched();
}

TEST_F(HomeprefsTest, BadOptionsAreReportedOnStandardErrorWithStatus1) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  for (const Case& c :
       {Case{{"-x", "key"}, "Unknown option `-x'.\n"}, Case{{"-s"}, "Unknown option `-s'.\n"},
        Case{{"-r1z", "key"}, "Unknown option `-z'.\n"}, Case{{"-\x01", "key"}, "Unknown option character `\\x1'.\n"},
        Case{{"-\x1f"}, "Unknown option character `\\x1f'.\n"},
        Case{{"-\xe9", "key"}, "Unknown option character `\\xe9'.\n"}}) {
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.status, 1);
  }
  expectUntouched();
}

TEST_F(HomeprefsTest, ShowingPrintsTheValueOrNotFoundAndWritesNothing) {
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
  };
  for (const Case& c : {Case{{"SBCarrierDisplayName"}, "SBCarrierDisplayName is set to AT&T\n"},
                        Case{{"SBAutoLockTime"}, "SBAutoLockTime is set to 60\n"},
                        Case{{"SBShowBatteryPercentage"}, "SBShowBatteryPercentage is set to 1\n"},
                        Case{{"SBRecentDisplayIdentifiers"},
                             "SBRecentDisplayIdentifiers is set to (\n    com.apple.mobilesafari,\n"
                             "    com.apple.mobilemail,\n    com.example.chirp\n)\n"},
                        Case{{"SBNoSuchKey"}, "Key SBNoSuchKey not found\n"},
                        // Scanning stops at the first argument that is not an option.
                        Case{{"SBAutoLockTime", "-i", "5"}, "SBAutoLockTime is set to 60\n"},
                        Case{{"--", "-r"}, "Key -r not found\n"}}) {
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
  expectUntouched();
}

TEST_F(HomeprefsTest, ListingPrintsTheWholeDictionaryAtOnce) {
  std::string listing = platform::plist::description(Value(originalEntries)) + "\n";
  for (auto arguments :
       std::vector<std::vector<std::string>>{{"-l"}, {"-i", "5", "-l"}, {"-l", "extra"}, {"-l", "-x"}}) {
    auto r = homeprefs(arguments);
    EXPECT_EQ(r.out, listing);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
  expectUntouched();
}

TEST_F(HomeprefsTest, SettingReplacesOneKeyKeepsTheRestAndAnnouncesIt) {
  struct Case {
    std::vector<std::string> arguments;
    std::string key, out;
    Value stored;
  };
  for (const Case& c : {
           Case{{"-i", "12abc", "SBAutoLockTime"}, "SBAutoLockTime", "Setting SBAutoLockTime to 12\n", Value(12)},
           Case{{"-iabc", "SBNew"}, "SBNew", "Setting SBNew to 0\n", Value(0)},
           Case{{"-f", "0.1", "SBTenth"}, "SBTenth", "Setting SBTenth to 0.1\n", Value(static_cast<double>(0.1f))},
           // XML writes -0 as the equal 0.
           Case{{"-f", "-0", "SBZero"}, "SBZero", "Setting SBZero to -0\n", Value(0.0)},
           Case{{"-s", "hello world", "SBAutoLockTime"},
                "SBAutoLockTime",
                "Setting SBAutoLockTime to hello world\n",
                Value("hello world")},
           Case{{"-a", "hello", "SBList"},
                "SBList",
                "Setting SBList to (\n    hello\n)\n",
                Value(Array{Value("hello")})},
           Case{{"-r", "-1", "SBFlag"}, "SBFlag", "Setting SBFlag to 1\n", Value(true)},
           Case{{"-10", "SBFlag"}, "SBFlag", "Setting SBFlag to 0\n", Value(false)},
       }) {
    SetUp();
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, ownerWarning());
    EXPECT_EQ(r.status, 0);
    expectRewritten(originalWith(c.key, c.stored), c.key);
    ASSERT_TRUE(entries().find(c.key));
    EXPECT_EQ(entries().find(c.key)->storage().index(), c.stored.storage().index()) << c.out;
  }
}

TEST_F(HomeprefsTest, RemovingTakesTheKeyOutAndAnAbsentKeyStillRewritesAndAnnounces) {
  auto r = homeprefs({"-1", "-r", "SBAutoLockTime"});
  EXPECT_EQ(r.out, "Removing key SBAutoLockTime\n");
  EXPECT_EQ(r.err, ownerWarning());
  EXPECT_EQ(r.status, 0);
  Dictionary without = originalEntries;
  without.erase("SBAutoLockTime");
  expectRewritten(without, "SBAutoLockTime");

  SetUp();
  r = homeprefs({"-r", "SBNoSuchKey"});
  EXPECT_EQ(r.out, "Removing key SBNoSuchKey\n");
  EXPECT_EQ(r.status, 0);
  expectRewritten(without, "SBNoSuchKey");
}

TEST_F(HomeprefsTest, WithoutAReadableDictionaryNothingIsWrittenOrAnnounced) {
  const std::string cannotRead = "homeprefs: cannot read " + kPrefs + ": ";
  struct Case {
    std::string content, reason;
  };
  for (const Case& c : {Case{"", "not a property list"}, Case{"<plist><dict><key>half", "not a property list"},
                        Case{"<plist><array><string>a</string></array></plist>", "not a dictionary"}}) {
    { std::ofstream(device.host(kPrefs), std::ios::trunc) << c.content; }
    SetUp();
    for (auto arguments :
         std::vector<std::vector<std::string>>{{"-i", "5", "SBAutoLockTime"}, {"-r", "SBAutoLockTime"}}) {
      auto r = homeprefs(arguments);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, cannotRead + c.reason + "\n");
      EXPECT_EQ(r.status, 1);
    }
    auto shown = homeprefs({"SBAutoLockTime"});
    EXPECT_EQ(shown.out, "Key SBAutoLockTime not found\n");
    EXPECT_EQ(shown.err, cannotRead + c.reason + "\n");
    EXPECT_EQ(shown.status, 0);
    auto listed = homeprefs({"-l"});
    EXPECT_EQ(listed.out, "");
    EXPECT_EQ(listed.err, cannotRead + c.reason + "\n");
    EXPECT_EQ(listed.status, 0);
    expectUntouched();
  }

  fs::remove(device.host(kPrefs));
  auto r = homeprefs({"-s", "x", "SBAutoLockTime"});
  EXPECT_EQ(r.err, cannotRead + "No such file or directory\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(device.host(kPrefs)));
  EXPECT_TRUE(device.journal().empty());
}

TEST_F(HomeprefsTest, AFailedWriteIsAnErrorAndNothingIsAnnounced) {
  auto r = homeprefsUnableToWrite({"-i", "5", "SBAutoLockTime"});
  EXPECT_EQ(r.out, "Setting SBAutoLockTime to 5\n");
  EXPECT_EQ(r.err, "homeprefs: cannot write " + kPrefs + "\n");
  EXPECT_EQ(r.status, 1);
  expectUntouched();
  EXPECT_EQ(filesBesideThePreferences(), 1u);
}

// Without the lock another run's change could be lost: the change is refused.
TEST_F(HomeprefsTest, AChangeThatCannotTakeTheLockIsRefused) {
  fs::create_directory(device.host(kPrefs + ".lock"));
  auto r = homeprefs({"-i", "5", "SBAutoLockTime"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "homeprefs: cannot lock " + kPrefs + ": Is a directory\n");
  EXPECT_EQ(r.status, 1);
  expectUntouched();
}

// The new file is flushed, renamed over the old one, and then its folder
// flushed, so that the new name is on the disk too before the change is
// announced.
TEST_F(HomeprefsTest, AWriteReachesTheDiskNameAndAll) {
  e2e::CommandOutput strace = e2e::shell("command -v strace && strace -o /dev/null true");
  if (strace.status != 0) GTEST_SKIP() << "strace cannot trace here";
  std::string trace = (device.root() / "trace").string();
  std::vector<std::string> argv = {strace.text.substr(0, strace.text.find('\n')), "-f", "-e",
                                   "trace=fsync,rename,renameat,renameat2",       "-o", trace};
  for (std::string& word : e2e::command({e2e::program("homeprefs"), "-i", "5", "SBAutoLockTime"})) argv.push_back(word);
  // The leak checker cannot run under a tracer.
  auto r = e2e::run(device, argv, "", {{"ASAN_OPTIONS", "detect_leaks=0"}});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string calls, text = e2e::fileBytes(trace);
  const std::regex call(R"(\b(fsync|rename\w*)\()");
  for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it)
    calls += (calls.empty() ? "" : " ") + std::string((*it)[1]).substr(0, 6);
  EXPECT_EQ(calls, "fsync rename fsync");
}

TEST_F(HomeprefsTest, TextThatIsNotSevenBitAsciiIsRefusedBeforeAnythingChanges) {
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  for (const Case& c :
       {Case{{"-s", "caf\xc3\xa9", "SBAutoLockTime"}, "homeprefs: value is not 7-bit ASCII text: caf\xc3\xa9\n"},
        Case{{"-a", "\x80", "SBList"}, "homeprefs: value is not 7-bit ASCII text: \x80\n"},
        Case{{"-1", "SB\xc3\xa9"}, "homeprefs: key is not 7-bit ASCII text: SB\xc3\xa9\n"},
        Case{{"-r", "SB\xc3\xa9"}, "homeprefs: key is not 7-bit ASCII text: SB\xc3\xa9\n"},
        Case{{"SB\xc3\xa9"}, "homeprefs: key is not 7-bit ASCII text: SB\xc3\xa9\n"}}) {
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
  }
  expectUntouched();
  // A later value option or -r makes the refused text irrelevant.
  auto r = homeprefs({"-scaf\xc3\xa9", "-r", "SBAutoLockTime"});
  EXPECT_EQ(r.out, "Removing key SBAutoLockTime\n");
  EXPECT_EQ(r.status, 0);
}

TEST_F(HomeprefsTest, NumbersThatCannotBeStoredFaithfullyAreRefused) {
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  for (const Case& c : {Case{{"-i", "2147483648", "SBAutoLockTime"},
                             "homeprefs: integer value out of range (-2147483648 to 2147483647): 2147483648\n"},
                        Case{{"-f", "1e39", "SBAutoLockTime"},
                             "homeprefs: float value out of range (not a finite single-precision number): 1e39\n"},
                        Case{{"-f", "inf", "SBAutoLockTime"},
                             "homeprefs: float value out of range (not a finite single-precision number): inf\n"}}) {
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
  }
  expectUntouched();
}

}  // namespace
