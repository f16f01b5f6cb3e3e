// homeprefs against hostile preferences files, killed runs and concurrent
// runs: it changes one key and nothing else, or refuses and changes nothing.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/file.h"
#include "platform/plist/plist.h"
#include "tests/homeprefs/preferences_file.h"
#include "tests/support/binary_plist.h"
#include "tests/support/device.h"

namespace fs = std::filesystem;
using Dictionary = platform::plist::Dictionary;
using Value = platform::plist::Value;

namespace {

using homeprefs_test::kPrefs;
using homeprefs_test::ownerWarning;

class HomeprefsHostileTest : public homeprefs_test::PreferencesFileTest {
 protected:
  fs::path prefs() const { return device.host(kPrefs); }
  void put(const std::string& bytes) const {
    fs::remove(prefs());
    std::ofstream(prefs(), std::ios::binary) << bytes;
  }
};

// A binary file whose untouched values are each something a rewrite through
// the kit's own values would change. Dates, large integers and UTF-16 text
// must come back bit for bit: their encodings are found in the new file.
TEST_F(HomeprefsHostileTest, ABinaryFileKeepsEveryUntouchedValueBitForBit) {
  BinaryPlist b;
  std::vector<BinaryPlist::Ref> kept = {
      b.date(-3187296000.0),       // 1900-01-01
      b.date(3155760000.1234567),  // 2101, finer than a microsecond
      b.date(0.5),
      b.date(-1e10),
      b.unsignedInteger(UINT64_MAX),
      b.utf16(std::u16string(u"x\0\u00e9", 3)),
      b.utf16(u"bell\u0007\u00e9"),
      b.ascii(std::string("abc\0def", 7)),
  };
  std::vector<std::pair<BinaryPlist::Ref, BinaryPlist::Ref>> file = {
      {b.ascii("SBAutoLockTime"), b.integer(60)},
      {b.ascii("NegativeZero"), b.real(-0.0)},
      {b.ascii("Nested"), b.array({b.dictionary({{b.ascii("when"), kept[3]}})})},
  };
  for (std::size_t i = 0; i < kept.size(); ++i) file.push_back({b.ascii("k" + std::to_string(i)), kept[i]});
  put(b.bytes(b.dictionary(file)));
  Dictionary before = entries();

  auto r = homeprefs({"-i", "5", "SBAutoLockTime"});
  EXPECT_EQ(r.out, "Setting SBAutoLockTime to 5\n");
  EXPECT_EQ(r.err, ownerWarning());
  ASSERT_EQ(r.status, 0);
  std::string after = fileBytes();
  EXPECT_TRUE(after.starts_with("bplist00")) << "binary stays binary";
  for (std::size_t i = 0; i < kept.size(); ++i)
    EXPECT_NE(after.find(b.encoding(kept[i])), std::string::npos) << "k" << i;
  before.set("SBAutoLockTime", Value(5));
  EXPECT_EQ(entries(), before);
  EXPECT_TRUE(std::signbit(*entries().find("NegativeZero")->get<double>()));
  EXPECT_EQ(homeprefs({"k4"}).out, "k4 is set to 18446744073709551615\n");
}

TEST_F(HomeprefsHostileTest, AnXmlFileKeepsEveryUntouchedValue) {
  const std::vector<std::string> values = {
      "<integer>18446744073709551615</integer>",
      "<integer>-9223372036854775808</integer>",
      "<date>1900-01-01T00:00:00Z</date>",
      "<date>2100-06-01T12:00:00Z</date>",
      "<string>a &amp; &lt;b&gt;</string>",
      "<string>caf\xc3\xa9 \xf0\x9f\x98\x80</string>",
      "<real>0.5</real>",
      "<true/>",
  };
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
      "\t<key>SBAutoLockTime</key>\n\t<integer>60</integer>\n";
  for (std::size_t i = 0; i < values.size(); ++i)
    xml += "\t<key>k" + std::to_string(i) + "</key>\n\t" + values[i] + "\n";
  // XML writes -0 as the equal 0: it does not keep a file from changing.
  put(xml + "\t<key>zero</key>\n\t<real>-0.0</real>\n</dict>\n</plist>\n");
  Dictionary before = entries();

  auto r = homeprefs({"-r", "SBAutoLockTime"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string after = fileBytes();
  EXPECT_TRUE(after.starts_with("<?xml")) << "XML stays XML";
  for (const std::string& value : values) EXPECT_NE(after.find(value), std::string::npos) << value;
  before.erase("SBAutoLockTime");
  EXPECT_EQ(entries(), before);
  EXPECT_EQ(homeprefs({"k0"}).out, "k0 is set to 18446744073709551615\n");
  EXPECT_NE(homeprefs({"-l"}).out.find("    k0 = 18446744073709551615;\n"), std::string::npos);
}

TEST_F(HomeprefsHostileTest, FilesThatCannotBeReadOrWrittenBackUnchangedAreRefused) {
  std::string deep = "<plist>";
  for (int i = 0; i < 10000; ++i) deep += "<array>";
  BinaryPlist doubling;
  BinaryPlist::Ref layer = doubling.ascii("x");
  for (int i = 0; i < 40; ++i) layer = doubling.array({layer, layer});
  std::string doubled = doubling.bytes(doubling.dictionary({{doubling.ascii("k"), layer}}));
  const std::string cannotRead = "homeprefs: cannot read " + kPrefs + ": ";
  const std::string cannotRewrite = "homeprefs: cannot rewrite " + kPrefs + ": ";
  struct Case {
    std::string content, err;
  };
  const Case cases[] = {
      {"<plist><dict><key>k</key><string>a&#x1;b</string></dict></plist>",
       cannotRewrite + "it holds text with a control character that XML cannot carry\n"},
      {"<plist><dict><key>k&#27;</key><string>ab</string></dict></plist>",
       cannotRewrite + "it holds a key with a control character that XML cannot carry\n"},
      {[] {
         BinaryPlist b;
         return b.bytes(
             b.dictionary({{b.ascii("k"), b.integer(1)}, {b.ascii(std::string("k\0hidden", 8)), b.integer(2)}}));
       }(),
       cannotRead + "a dictionary key holds a NUL character\n"},
      {deep, cannotRead + "nested deeper than 512 levels\n"},
      {doubled, cannotRead + "its shared references expand to more than " + std::to_string(doubled.size()) +
                    " values, one per byte\n"},
  };
  for (const Case& c : cases) {
    put(c.content);
    auto r = homeprefs({"-s", "x", "SBAutoLockTime"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(fileBytes(), c.content);
    EXPECT_TRUE(device.journal().empty());
  }
  // Listing a file beyond a budget says why and prints nothing else.
  put(deep);
  auto listed = homeprefs({"-l"});
  EXPECT_EQ(listed.out, "");
  EXPECT_EQ(listed.err, cannotRead + "nested deeper than 512 levels\n");
  EXPECT_EQ(listed.status, 0);
}

TEST_F(HomeprefsHostileTest, APathThatIsNoRegularFileIsNeverWaitedOn) {
  fs::remove(prefs());
  ASSERT_EQ(mkfifo(prefs().c_str(), 0600), 0);
  auto r = homeprefs({"-i", "5", "SBAutoLockTime"});
  EXPECT_EQ(r.err, "homeprefs: cannot read " + kPrefs + ": not a regular file\n");
  EXPECT_EQ(r.status, 1);
  fs::remove(prefs());
  fs::create_symlink("/dev/zero", prefs());
  r = homeprefs({"-l"});
  EXPECT_EQ(r.err, "homeprefs: cannot read " + kPrefs + ": not a regular file\n");
  EXPECT_EQ(r.status, 0);
}

TEST_F(HomeprefsHostileTest, ControlCharactersXmlCannotCarryAreRefusedLikeNonAsciiText) {
  std::string original = fileBytes();
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  for (const Case& c :
       {Case{{"-s", "Home\x07Net", "SBCarrierDisplayName"},
             "homeprefs: value holds a control character XML cannot carry: Home\\x07Net\n"},
        Case{{"-a", "\x1b[2J", "SBList"}, "homeprefs: value holds a control character XML cannot carry: \\x1b[2J\n"},
        Case{{"-1", "SB\x01"}, "homeprefs: key holds a control character XML cannot carry: SB\\x01\n"},
        Case{{"-r", "SB\x0c"}, "homeprefs: key holds a control character XML cannot carry: SB\\x0c\n"}}) {
    auto r = homeprefs(c.arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.status, 1);
  }
  EXPECT_EQ(fileBytes(), original);
  EXPECT_TRUE(device.journal().empty());
  // Tabs, line ends and carriage returns are text XML carries.
  auto r = homeprefs({"-s", "a\tb\r\nc", "SBText"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(*entries().find("SBText"), Value("a\tb\r\nc"));
}

TEST_F(HomeprefsHostileTest, TheFileKeepsItsModeAndLeftoversOfKilledRunsGo) {
  fs::permissions(prefs(), fs::perms::owner_read | fs::perms::owner_write);
  std::ofstream(prefs().string() + ".AbC123") << "left by a killed run";
  std::ofstream(prefs().string() + ".zZ9yY8") << "and another";
  auto r = homeprefs({"-i", "5", "SBAutoLockTime"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(fs::status(prefs()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(filesBesideThePreferences(), 1u);
}

TEST_F(HomeprefsHostileTest, TwentyConcurrentSetsAllLand) {
  Dictionary expected = entries();
  std::vector<std::thread> runs;
  std::vector<e2e::Result> results(20);
  for (int i = 0; i < 20; ++i) {
    expected.set("SBConcurrent" + std::to_string(i), Value("v" + std::to_string(i)));
    runs.emplace_back([&, i] {
      results[i] = homeprefs({"-s", "v" + std::to_string(i), "SBConcurrent" + std::to_string(i)});
    });
  }
  for (auto& run : runs) run.join();
  for (const auto& r : results) EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(device.journal().size(), 20u);
}

// Kills runs at random moments of a set on a file of 2,000 keys: after every
// kill the file parses and every key but the one being set is as it was.
TEST_F(HomeprefsHostileTest, KilledAtAnyMomentTheFileStaysWhole) {
  Dictionary original;
  for (int i = 0; i < 2000; ++i) {
    std::string key = "SBKey" + std::to_string(i);
    if (i % 3 == 0) original.set(key, Value(i));
    else if (i % 3 == 1) original.set(key, Value("com.example.value" + std::to_string(i)));
    else original.set(key, Value(platform::plist::Array{Value(i * 0.5), Value(true)}));
  }
  ASSERT_EQ(platform::writeAtomically(prefs(), platform::plist::toXml(Value(original))),
            platform::WriteResult::written);

  auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(homeprefs({"-s", "first", "SBTarget"}).status, 0);
  auto oneRun = std::chrono::steady_clock::now() - begin;
  std::mt19937 random(12345);
  std::uniform_int_distribution<long> moment(0, std::chrono::duration_cast<std::chrono::microseconds>(oneRun).count());

  int kills = 0;
  // A guard against a run that hangs, not a speed target: natively the 200
  // kills take about ten seconds; under an emulator each run, and reading the
  // file after it, take many times longer, so the guard grows with one run.
  auto deadline = std::chrono::steady_clock::now() +
                  std::max<std::chrono::steady_clock::duration>(std::chrono::seconds(90), 400 * oneRun);
  for (; kills < 200 && std::chrono::steady_clock::now() < deadline; ++kills) {
    {
      // The session's end kills the run (SIGKILL) and waits for it; a run
      // that cannot start fails the test.
      e2e::Session run(device, {e2e::program("homeprefs"), "-s", "v" + std::to_string(kills), "SBTarget"});
      std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    }
    auto read = platform::plist::parse(fileBytes());
    ASSERT_TRUE(read && read->is<Dictionary>()) << "after kill " << kills;
    Dictionary now = *read->get<Dictionary>();
    const Value* target = now.find("SBTarget");
    ASSERT_TRUE(target && target->is<std::string>()) << "after kill " << kills;
    now.erase("SBTarget");
    ASSERT_EQ(now, original) << "after kill " << kills;
  }
  EXPECT_GE(kills, 200) << "too slow to kill 200 runs before the guard";
  ASSERT_EQ(homeprefs({"-s", "last", "SBTarget"}).status, 0);
  EXPECT_EQ(filesBesideThePreferences(), 1u) << "the last write removed what killed runs left";
}

}  // namespace
