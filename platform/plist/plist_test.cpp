#include "platform/plist/plist.h"
#include "tests/support/scratch_root.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace platform::plist;
using platform::Owner;
using platform::removeLeftoverTemporaries;
using platform::WriteResult;

namespace {

Value sample() {
  Dictionary inner;
  inner.set("zeta", Value("last"));
  inner.set("alpha", Value(std::int64_t{-42}));
  Dictionary top;
  top.set("name", Value("Mail"));
  top.set("count", Value(3));
  top.set("ratio", Value(0.5));
  top.set("on", Value(true));
  top.set("list", Value(Array{Value("a b"), Value(""), Value(7)}));
  top.set("inner", Value(inner));
  top.set("blob", Value(Data{0xde, 0xad, 0xbe, 0xef, 0x01}));
  top.set("when", Value(Date{0}));
  return Value(top);
}

TEST(PlistValue, DeepEqualityIgnoresKeyOrderButNotArrayOrder) {
  Dictionary a, b;
  a.set("x", Value(1));
  a.set("y", Value(Array{Value("p"), Value("q")}));
  b.set("y", Value(Array{Value("p"), Value("q")}));
  b.set("x", Value(1));
  EXPECT_EQ(Value(a), Value(b));
  EXPECT_EQ(hashValue(Value(a)), hashValue(Value(b)));
  b.set("y", Value(Array{Value("q"), Value("p")}));
  EXPECT_FALSE(Value(a) == Value(b));
}

TEST(PlistValue, NumbersCompareByValueAndHashAlike) {
  EXPECT_EQ(Value(3), Value(3.0));
  EXPECT_EQ(hashValue(Value(3)), hashValue(Value(3.0)));
  EXPECT_FALSE(Value(3) == Value(3.5));
  EXPECT_FALSE(Value(1) == Value(true)) << "booleans are not numbers";
  EXPECT_FALSE(Value("3") == Value(3));
  EXPECT_FALSE(Value(Data{}) == Value(""));
}

TEST(PlistValue, IntegersEqualRealsOnlyWhenExactlyTheSameAndEqualValuesHashAlike) {
  const double nan = std::nan("");
  struct Case {
    Value a, b;
    bool equal;
  };
  const Case cases[] = {
      {Value(std::int64_t{9007199254740993}), Value(9007199254740992.0), false},  // 2^53 + 1 rounds to 2^53
      {Value(std::int64_t{9007199254740992}), Value(9007199254740992.0), true},
      {Value(std::int64_t{9007199254740991}), Value(9007199254740992.0), false},
      {Value(0), Value(-0.0), true},
      {Value(0.0), Value(-0.0), true},
      {Value(0), Value(-0.0f), true},
      {Value(nan), Value(nan), false},
      {Value(0), Value(nan), false},
      {Value(INT64_MIN), Value(-9223372036854775808.0), true},
      {Value(INT64_MAX), Value(9223372036854775808.0), false},  // 2^63, just beyond the integers
      {Value(INT64_MIN), Value(9223372036854775808.0), false},
      {Value(16777217), Value(16777216.0f), false},
      {Value(3), Value(3.0f), true},
      {Value(2.5f), Value(2.5), true},
      {Value(0.1f), Value(0.1), false},
      {Value(1), Value(true), false},
      {Value(1.0), Value(true), false},
      // Unsigned integers above INT64_MAX: never equal to a signed one by
      // wrap-around; equal to a real that is exactly them.
      {Value(std::uint64_t{1} << 63), Value(INT64_MIN), false},
      {Value(std::uint64_t{1} << 63), Value(9223372036854775808.0), true},
      {Value(UINT64_MAX), Value(18446744073709551616.0), false},
      {Value(UINT64_MAX), Value(std::int64_t{-1}), false},
      {Value(std::uint64_t{5}), Value(5), true},
      {Value(Uid{1}), Value(1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(description(c.a) + " and " + description(c.b));
    EXPECT_EQ(c.a == c.b, c.equal);
    EXPECT_EQ(c.b == c.a, c.equal);
    if (c.equal) {
      EXPECT_EQ(hashValue(c.a), hashValue(c.b));
    }
  }
}

TEST(PlistValue, DictionarySetReplacesInPlaceAndEraseReports) {
  Dictionary d;
  d.set("a", Value(1));
  d.set("b", Value(2));
  d.set("a", Value("one"));
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d.entries()[0].key, "a");
  EXPECT_EQ(*d.find("a"), Value("one"));
  EXPECT_TRUE(d.erase("a"));
  EXPECT_FALSE(d.erase("a"));
  EXPECT_EQ(d.find("a"), nullptr);
}

// Small dictionaries are searched key by key, larger ones through an index:
// both must agree on every change.
TEST(PlistValue, KeysAfterAnErasedOneAreStillFoundAndCopiesStandAlone) {
  for (int count : {5, 40}) {
    SCOPED_TRACE(count);
    Dictionary d;
    for (int i = 0; i < count; ++i) d.set("k" + std::to_string(i), Value(i));
    ASSERT_TRUE(d.erase("k1"));
    d.set("k3", Value("three"));  // replaced where it now stands, not added again
    Dictionary copy = d;
    std::string first = d.entries()[0].key;
    ASSERT_TRUE(d.erase(d.entries()[0].key)) << "a key that is the entry's own";
    d.set("new", Value(-1));

    std::vector<std::string> keys;
    for (const auto& entry : d.entries()) keys.push_back(entry.key);
    ASSERT_EQ(keys.size(), static_cast<std::size_t>(count - 1));
    EXPECT_EQ(keys.front(), "k2");
    EXPECT_EQ(keys.back(), "new");
    EXPECT_EQ(d.find(first), nullptr);
    EXPECT_EQ(d.find("k1"), nullptr);
    EXPECT_EQ(*d.find("k3"), Value("three"));
    EXPECT_EQ(*d.find("k4"), Value(4));
    EXPECT_EQ(*d.find("k" + std::to_string(count - 1)), Value(count - 1));
    EXPECT_EQ(*d.find("new"), Value(-1));
    ASSERT_EQ(copy.size(), static_cast<std::size_t>(count - 1));
    EXPECT_EQ(*copy.find("k0"), Value(0));
    EXPECT_EQ(*copy.find("k4"), Value(4));
    EXPECT_EQ(copy.find("new"), nullptr);
  }
}

TEST(PlistFormat, XmlRoundTripKeepsEveryKind) {
  Value original = sample();
  std::string xml = toXml(original);
  EXPECT_NE(xml.find("<?xml"), std::string::npos);
  auto back = parse(xml);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, original);
  EXPECT_EQ(*back->get<Dictionary>()->find("inner")->get<Dictionary>()->find("alpha"), Value(-42))
      << "negative integers survive the unsigned storage";
}

TEST(PlistFormat, EachFormatKeepsWhatItCarries) {
  Dictionary d = *sample().get<Dictionary>();
  d.set("biggest", Value(UINT64_MAX));
  d.set("farOff", Value(Date{-1e10}));
  Dictionary binaryOnly = d;
  binaryOnly.set("nul", Value(std::string("a\0b\xc3\xa9", 5)));
  binaryOnly.set("fine", Value(Date{0.1234567}));
  binaryOnly.set("uid", Value(Uid{7}));
  EXPECT_EQ(parse(encode(Value(d), Format::xml)->bytes), Value(d));
  EXPECT_EQ(parse(encode(Value(binaryOnly), Format::binary)->bytes), Value(binaryOnly));
}

TEST(PlistFormat, ReadsBinaryPropertyLists) {
  // bplist00 of {"a" = 1}, as the device writes it.
  const unsigned char bytes[] = {'b',  'p',  'l',  'i',  's',  't', '0', '0', 0xd1, 0x01, 0x02, 0x51, 'a',
                                 0x10, 0x01, 0x08, 0x0b, 0x0d, 0,   0,   0,   0,    0,    0,    1,    1,
                                 0,    0,    0,    0,    0,    0,   0,   3,   0,    0,    0,    0,    0,
                                 0,    0,    0,    0,    0,    0,   0,   0,   0,    0,    0x0f};
  auto value = parse(std::string_view(reinterpret_cast<const char*>(bytes), sizeof bytes));
  ASSERT_TRUE(value);
  Dictionary want;
  want.set("a", Value(1));
  EXPECT_EQ(*value, Value(want));
}

TEST(PlistFormat, RejectsWhatIsNotAPropertyList) {
  EXPECT_FALSE(parse(""));
  EXPECT_FALSE(parse("hello, world"));
  EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><dict><key>a</key>"));
}

TEST(PlistDescription, OpenStepStyleWithSortedKeysAndQuotesOnlyWhereNeeded) {
  EXPECT_EQ(description(sample()),
            "{\n"
            "    blob = <deadbeef 01>;\n"
            "    count = 3;\n"
            "    inner = {\n"
            "        alpha = -42;\n"
            "        zeta = last;\n"
            "    };\n"
            "    list = (\n"
            "        \"a b\",\n"
            "        \"\",\n"
            "        7\n"
            "    );\n"
            "    name = Mail;\n"
            "    on = 1;\n"
            "    ratio = 0.5;\n"
            "    when = \"2001-01-01 00:00:00 +0000\";\n"
            "}");
}

TEST(PlistDescription, TopLevelStringsAreTheirOwnTextAndEscapesAreShown) {
  EXPECT_EQ(description(Value("hello world")), "hello world");
  EXPECT_EQ(description(Value(Array{Value("say \"hi\"\n"), Value("com.apple.mobilemail")})),
            "(\n    \"say \\\"hi\\\"\\n\",\n    com.apple.mobilemail\n)");
  EXPECT_EQ(description(Value(Array{})), "(\n)");
  EXPECT_EQ(description(Value(Dictionary{})), "{\n}");
  EXPECT_EQ(description(Value(0.1)), "0.1");
}

TEST(PlistDescription, DatesShowTheirDayAndSecondWhereverTheyFall) {
  struct Row {
    double secondsSince2001;
    const char* text;
  };
  for (const Row& row : {
           Row{0.75, "2001-01-01 00:00:00 +0000"},
           Row{-0.5, "2000-12-31 23:59:59 +0000"},
           // Beyond what a 32-bit time_t holds, either way.
           Row{1230681600, "2040-01-01 00:00:00 +0000"},
           Row{-3187296000.0, "1900-01-01 00:00:00 +0000"},
           Row{63113904000.0, "4001-01-01 00:00:00 +0000"},
           // Past the calendar: its last second; no date shows as the reference date.
           Row{1e300, "32767-12-31 23:59:59 +0000"},
           Row{-1e300, "-32767-01-01 00:00:00 +0000"},
           Row{std::nan(""), "2001-01-01 00:00:00 +0000"},
       })
    EXPECT_EQ(description(Value(Date{row.secondsSince2001})), row.text) << row.secondsSince2001;
}

TEST(PlistFloat, KeepsSinglePrecisionInTextAndFullValueInFiles) {
  Value nearestToATenth(0.1f);
  EXPECT_EQ(description(nearestToATenth), "0.1");
  EXPECT_EQ(description(Value(Array{Value(2.5f), Value(-1e-8f)})), "(\n    2.5,\n    -1e-08\n)");
  // In a file it is the float's exact value as a real; read back it equals
  // the float, not the double nearest to 0.1.
  auto back = parse(toXml(nearestToATenth));
  ASSERT_TRUE(back && back->is<double>());
  EXPECT_EQ(*back->get<double>(), static_cast<double>(0.1f));
  EXPECT_EQ(*back, nearestToATenth);
  EXPECT_FALSE(*back == Value(0.1));
  EXPECT_EQ(Value(3.0f), Value(3));
  EXPECT_EQ(hashValue(Value(3.0f)), hashValue(Value(3)));
}

class PlistFileTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_ / "prefs"); }
  ScratchRoot scratch_;
  const fs::path& root_ = scratch_.path();
};

TEST_F(PlistFileTest, WritesAtomicallyAndReadsBack) {
  ASSERT_EQ(write("/prefs/a.plist", sample()), WriteResult::written);
  EXPECT_EQ(read("/prefs/a.plist"), sample());
  ASSERT_TRUE(readDictionary("/prefs/a.plist"));
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "prefs"), fs::directory_iterator()), 1);
  struct stat st;
  ASSERT_EQ(stat((root_ / "prefs/a.plist").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0044, 0044u) << "readable by others, like any preferences file";
}

TEST_F(PlistFileTest, AFailedWriteLeavesTheOldFileAndNoLitter) {
  ASSERT_EQ(write("/prefs/a.plist", Value("old")), WriteResult::written);
  EXPECT_EQ(write("/missing/folder/a.plist", Value("new")), WriteResult::failed);
  // A folder in the way: the final rename fails.
  fs::create_directories(root_ / "prefs/b.plist/inside");
  EXPECT_EQ(write("/prefs/b.plist", Value("new")), WriteResult::failed);
  EXPECT_EQ(read("/prefs/a.plist"), Value("old"));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "prefs"), fs::directory_iterator()), 2);
}

TEST_F(PlistFileTest, TheOwnerIsSetOnTheNewFileBeforeItReplacesTheOld) {
  ASSERT_EQ(write("/prefs/a.plist", Value("old")), WriteResult::written);
  struct stat before;
  ASSERT_EQ(stat((root_ / "prefs/a.plist").c_str(), &before), 0);
  // A link at the path is replaced, not followed: its target keeps its owner.
  std::ofstream(root_ / "target") << "someone else's";
  fs::create_symlink(root_ / "target", root_ / "prefs/link.plist");
  WriteResult result = write("/prefs/link.plist", Value("new"), Owner{501, 501});
  struct stat linkAfter, target;
  ASSERT_EQ(lstat((root_ / "prefs/link.plist").c_str(), &linkAfter), 0);
  ASSERT_EQ(stat((root_ / "target").c_str(), &target), 0);
  EXPECT_TRUE(S_ISREG(linkAfter.st_mode));
  EXPECT_EQ(target.st_uid, getuid());
  EXPECT_EQ(read("/prefs/link.plist"), Value("new"));
  if (getuid() == 0) {
    EXPECT_EQ(result, WriteResult::written);
    EXPECT_EQ(linkAfter.st_uid, 501u);
    EXPECT_EQ(linkAfter.st_gid, 501u);
  } else {
    // Only root can give a file away; the content still lands.
    EXPECT_EQ(result, WriteResult::writtenWithoutOwner);
    EXPECT_EQ(linkAfter.st_uid, getuid());
  }
}

TEST_F(PlistFileTest, OnlyRegularFilesWithinTheCapAreReadAndNothingWaits) {
  ASSERT_EQ(write("/prefs/a.plist", sample()), WriteResult::written);
  ASSERT_EQ(mkfifo((root_ / "prefs/fifo.plist").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", root_ / "prefs/zero.plist");
  fs::create_symlink(root_ / "prefs/a.plist", root_ / "prefs/link.plist");
  std::ofstream(root_ / "prefs/huge.plist") << std::string(kMaxFileSize + 1, ' ');
  struct Case {
    const char* path;
    std::string reason;
  };
  for (const Case& c :
       {Case{"/prefs/fifo.plist", "not a regular file"}, Case{"/prefs/zero.plist", "not a regular file"},
        Case{"/prefs", "not a regular file"}, Case{"/prefs/huge.plist", "larger than 8 MiB"},
        Case{"/prefs/none.plist", "No such file or directory"}}) {
    std::string why;
    EXPECT_FALSE(read(c.path, &why)) << c.path;
    EXPECT_EQ(why, c.reason) << c.path;
  }
  EXPECT_EQ(read("/prefs/link.plist"), sample()) << "a link to a regular file is followed";
}

TEST_F(PlistFileTest, AReplacedFileKeepsItsModeAndLeftoverTemporariesGo) {
  ASSERT_EQ(write("/prefs/a.plist", Value("old")), WriteResult::written);
  fs::permissions(root_ / "prefs/a.plist", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(write("/prefs/a.plist", Value("new")), WriteResult::written);
  EXPECT_EQ(fs::status(root_ / "prefs/a.plist").permissions(), fs::perms::owner_read | fs::perms::owner_write);

  for (const char* name : {"a.plist.AbC123", "a.plist.zzzzzz", "a.plist.keep", "a.plist.AbC12", "b.plist.AbC123"})
    std::ofstream(root_ / "prefs" / name) << "left";
  fs::create_directory(root_ / "prefs/a.plist.Dir123");
  removeLeftoverTemporaries("/prefs/a.plist");
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(root_ / "prefs")) left.insert(entry.path().filename());
  EXPECT_EQ(left,
            (std::set<std::string>{"a.plist", "a.plist.keep", "a.plist.AbC12", "b.plist.AbC123", "a.plist.Dir123"}));
}

TEST_F(PlistFileTest, ReadingGivesNothingForMissingBrokenOrNonDictionaryFiles) {
  EXPECT_FALSE(read("/prefs/none.plist"));
  std::ofstream(root_ / "prefs/broken.plist") << "<plist><dict><key>";
  EXPECT_FALSE(read("/prefs/broken.plist"));
  ASSERT_EQ(write("/prefs/array.plist", Value(Array{Value(1)})), WriteResult::written);
  EXPECT_TRUE(read("/prefs/array.plist"));
  EXPECT_FALSE(readDictionary("/prefs/array.plist"));
  EXPECT_FALSE(readDictionary("/prefs"));
}

}  // namespace
