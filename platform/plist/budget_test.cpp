// Hostile property lists: each is refused with its reason, quickly, or read
// whole; none aborts, overflows the stack or expands without end.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/plist/plist.h"
#include "tests/support/binary_plist.h"

using namespace platform::plist;

namespace {

// Arrays nested depth deep, the innermost holding one integer.
std::string nestedBinary(std::size_t depth) {
  BinaryPlist b;
  BinaryPlist::Ref inner = b.integer(1);
  for (std::size_t i = 0; i < depth; ++i) inner = b.array({inner});
  return b.bytes(inner);
}

std::string nestedXml(std::size_t depth, std::string_view inside = "<integer>1</integer>") {
  std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
  for (std::size_t i = 0; i < depth; ++i) xml += "<array>";
  xml += inside;
  for (std::size_t i = 0; i < depth; ++i) xml += "</array>";
  return xml + "</plist>";
}

// {key: value} with the key and value made by the callers.
template <class MakeKey, class MakeValue>
std::string oneEntry(MakeKey key, MakeValue value) {
  BinaryPlist b;
  BinaryPlist::Ref k = key(b), v = value(b);
  return b.bytes(b.dictionary({{k, v}}));
}

// layers arrays, each holding the one below twice: 2^layers leaves.
std::string doubling(std::size_t layers) {
  BinaryPlist b;
  BinaryPlist::Ref below = b.ascii("x");
  for (std::size_t i = 0; i < layers; ++i) below = b.array({below, below});
  return b.bytes(below);
}

TEST(PlistBudget, HostileFilesAreRefusedWithTheirReason) {
  const std::string tooDeep = "nested deeper than 512 levels";
  BinaryPlist cycle;
  BinaryPlist::Ref self = cycle.array({cycle.next()});
  struct Case {
    const char* name;
    std::string bytes;
    std::string reason;
  };
  const Case cases[] = {
      {"binary 513 deep", nestedBinary(513), tooDeep},
      {"binary 30,000 deep", nestedBinary(30000), tooDeep},
      {"XML 513 deep", nestedXml(513), tooDeep},
      {"XML 100,000 deep", nestedXml(100000), tooDeep},
      {"40 doubling layers", doubling(40), "its shared references expand to more than"},
      {"an array holding itself", cycle.bytes(self), "refers to itself"},
      {"a UTF-16 key with U+0000",
       oneEntry([](BinaryPlist& b) { return b.utf16(std::u16string(u"k\0hidden", 8)); },
                [](BinaryPlist& b) { return b.integer(1); }),
       "a dictionary key holds a NUL character"},
      {"an ASCII key with NUL",
       oneEntry([](BinaryPlist& b) { return b.ascii(std::string("k\0h", 3)); },
                [](BinaryPlist& b) { return b.integer(1); }),
       "a dictionary key holds a NUL character"},
      {"XML with a NUL byte", std::string("<plist><string>a\0b</string></plist>", 35), "holds a NUL byte"},
      {"half a binary list", nestedBinary(3).substr(0, 30), "not a property list"},
  };
  for (const Case& c : cases) {
    auto start = std::chrono::steady_clock::now();
    std::string why;
    EXPECT_FALSE(parse(c.bytes, &why)) << c.name;
    EXPECT_TRUE(why.starts_with(c.reason)) << c.name << ": " << why;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.name;
  }
}

TEST(PlistBudget, WhatRealFilesHoldIsRead) {
  auto depthOf = [](const Value& v) {
    std::size_t depth = 0;
    for (const Value* at = &v; at->is<Array>(); at = &at->get<Array>()->front()) ++depth;
    return depth;
  };
  auto deepBinary = parse(nestedBinary(512));
  ASSERT_TRUE(deepBinary);
  EXPECT_EQ(depthOf(*deepBinary), 512u);
  auto deepXml = parse(nestedXml(512));
  ASSERT_TRUE(deepXml);
  EXPECT_EQ(depthOf(*deepXml), 512u);
  // Tags inside comments and CDATA are text, not nesting.
  std::string hidden = "<!--" + nestedXml(600) + "--><string><![CDATA[<array><array>]]></string>";
  EXPECT_TRUE(parse(nestedXml(1, hidden)));

  // One string shared by a hundred elements, as writers share equal values.
  BinaryPlist b;
  BinaryPlist::Ref shared = b.ascii("com.apple.mobilemail");
  auto many = parse(b.bytes(b.array(std::vector<BinaryPlist::Ref>(100, shared))));
  ASSERT_TRUE(many);
  EXPECT_EQ(*many, Value(Array(100, Value("com.apple.mobilemail"))));

  // A key written twice is held once: the later value, in the earlier place.
  BinaryPlist twice;
  BinaryPlist::Ref a = twice.ascii("a");
  auto read = parse(twice.bytes(
      twice.dictionary({{a, twice.integer(1)}, {twice.ascii("b"), twice.integer(2)}, {a, twice.integer(3)}})));
  ASSERT_TRUE(read && read->is<Dictionary>());
  const auto& entries = read->get<Dictionary>()->entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].key, "a");
  EXPECT_EQ(entries[0].value, Value(3));
  EXPECT_EQ(entries[1].key, "b");
}

TEST(PlistBudget, TextWithANulIsReadWhole) {
  // libplist keeps 8-bit text only up to the NUL; the file holds it whole,
  // shared or not, beside text that merely starts the same.
  BinaryPlist b;
  BinaryPlist::Ref ascii = b.ascii(std::string("abc\0def", 7));
  BinaryPlist::Ref list = b.array({ascii, b.ascii("abc"), b.utf16(std::u16string(u"x\0\u00e9", 3)), ascii});
  auto read = parse(b.bytes(b.dictionary({{b.ascii("s"), list}})));
  ASSERT_TRUE(read);
  Value abc(std::string("abc\0def", 7));
  EXPECT_EQ(*read->get<Dictionary>()->find("s"),
            Value(Array{abc, Value("abc"), Value(std::string("x\0\xc3\xa9", 4)), abc}));
}

TEST(PlistDates, DatesFarFrom2001AreReadAndWrittenWhole) {
  struct Case {
    double seconds;
    const char* text;
  };
  for (const Case& c : {Case{-3187296000.0, "1900-01-01 00:00:00 +0000"},
                        Case{3155760000.5, "2101-01-02 00:00:00 +0000"}, Case{-1e10, "1684-02-11 06:13:20 +0000"}}) {
    BinaryPlist b;
    auto read = parse(b.bytes(b.date(c.seconds)));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, Value(Date{c.seconds}));
    EXPECT_EQ(description(*read), c.text);
    EXPECT_EQ(parse(encode(*read, Format::binary)->bytes), *read);
  }
}

TEST(PlistBudget, TheWriterRefusesWhatTheReaderWould) {
  auto nested = [](std::size_t depth) {
    Value v(1);
    for (std::size_t i = 0; i < depth; ++i) v = Value(Array{std::move(v)});
    return v;
  };
  EXPECT_EQ(toXml(nested(513)), "");
  std::string deepest = toXml(nested(512));
  ASSERT_TRUE(parse(deepest));
  // Indentation grows with depth, so the deepest file is bounded, not small.
  EXPECT_LT(deepest.size(), 400'000u);
  Dictionary controlKey, nulKey;
  controlKey.set("a\x1b", Value(1));
  nulKey.set(std::string("a\0b", 3), Value(1));
  struct Case {
    Value value;
    Format format;
    std::string reason;
  };
  const Case cases[] = {
      {nested(513), Format::binary, "it is nested deeper than 512 levels"},
      {Value(Array{Value("Home\x07Net")}), Format::xml, "it holds text with a control character that XML cannot carry"},
      {Value(controlKey), Format::xml, "it holds a key with a control character that XML cannot carry"},
      {Value(nulKey), Format::binary, "it holds a key with a NUL character"},
      {Value(std::string("\xff\0", 2)), Format::binary, "it holds text with a NUL character that is not UTF-8"},
      {Value(Date{252423993600.0}), Format::xml, "it holds a date that XML cannot carry"},  // 10000-01-01
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(encode(c.value, c.format, &why)) << c.reason;
    EXPECT_EQ(why, c.reason);
  }
}

}  // namespace
