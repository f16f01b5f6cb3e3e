#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

using platform::int32LikeAtoi;

TEST(Int32LikeAtoi, FollowsAtoiInsideTheRange) {
  EXPECT_EQ(int32LikeAtoi("12abc"), 12);
  EXPECT_EQ(int32LikeAtoi("abc"), 0);
  EXPECT_EQ(int32LikeAtoi("-3"), -3);
  EXPECT_EQ(int32LikeAtoi("  +7 "), 7);
  EXPECT_EQ(int32LikeAtoi(""), 0);
  EXPECT_EQ(int32LikeAtoi("- 5"), 0);
  EXPECT_EQ(int32LikeAtoi("0000000000000000042"), 42);
  EXPECT_EQ(int32LikeAtoi("2147483647"), 2147483647);
  EXPECT_EQ(int32LikeAtoi("-2147483648"), INT32_MIN);
}

TEST(Int32LikeAtoi, RefusesDigitsBeyondTheSigned32BitRange) {
  EXPECT_FALSE(int32LikeAtoi("2147483648"));
  EXPECT_FALSE(int32LikeAtoi("-2147483649"));
  EXPECT_FALSE(int32LikeAtoi("99999999999999999999999999"));
  EXPECT_FALSE(int32LikeAtoi("4294967296x"));
}

TEST(IsAscii, RefusesAnyByteWithTheHighBitSet) {
  EXPECT_TRUE(platform::isAscii(""));
  EXPECT_TRUE(platform::isAscii("SBIconColumns\t~\x7f"));
  EXPECT_FALSE(platform::isAscii("caf\xc3\xa9"));
  EXPECT_FALSE(platform::isAscii("\x80"));
}

TEST(IsValidUtf8, AcceptsWellFormedTextOnly) {
  EXPECT_TRUE(platform::isValidUtf8(""));
  EXPECT_TRUE(platform::isValidUtf8("plain"));
  EXPECT_TRUE(platform::isValidUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5 \xf4\x8f\xbf\xbf"));
  EXPECT_FALSE(platform::isValidUtf8("\x80"));
  EXPECT_FALSE(platform::isValidUtf8("caf\xe9"));           // Latin-1, not UTF-8
  EXPECT_FALSE(platform::isValidUtf8("\xc0\xaf"));          // overlong "/"
  EXPECT_FALSE(platform::isValidUtf8("\xe0\x80\xaf"));      // overlong "/"
  EXPECT_FALSE(platform::isValidUtf8("\xed\xa0\x80"));      // a surrogate
  EXPECT_FALSE(platform::isValidUtf8("\xf4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(platform::isValidUtf8("\xe2\x82"));          // cut short
  EXPECT_FALSE(platform::isValidUtf8("\xff"));
}

TEST(ReplacingInvalidUtf8, KeepsValidTextAndMarksEachIllFormedPart) {
  const std::string r = "\xef\xbf\xbd";
  EXPECT_EQ(platform::replacingInvalidUtf8("caf\xc3\xa9"), "caf\xc3\xa9");
  EXPECT_EQ(platform::replacingInvalidUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(platform::replacingInvalidUtf8("caf\xe9!"), "caf" + r + "!");
  EXPECT_EQ(platform::replacingInvalidUtf8("\xe2\x82"), r) << "one start of a sequence, one mark";
  EXPECT_EQ(platform::replacingInvalidUtf8("\xe2\x82x"), r + "x");
  EXPECT_EQ(platform::replacingInvalidUtf8("\xe0\x80\xaf"), r + r + r) << "no valid start, byte by byte";
  EXPECT_EQ(platform::replacingInvalidUtf8("\xf0\x9f\x8e\xb5\xff\xfe"), "\xf0\x9f\x8e\xb5" + r + r);
}

TEST(PrintableOnTerminal, ShowsEachControlCharacterAndIllFormedPartAsAQuestionMark) {
  struct Case {
    std::string text, shown;
  };
  for (const Case& c : {Case{"Plain App 1.0", "Plain App 1.0"},
                        Case{"caf\xc3\xa9 \xe2\x98\x95 \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x98\x95 \xf0\x9f\x98\x80"},
                        Case{"Fake\n               Row", "Fake?               Row"}, Case{"\x1b[2J\x1b[H", "?[2J?[H"},
                        Case{std::string("nul\0tab\tbell\adel\x7f", 17), "nul?tab?bell?del?"},
                        Case{"c1 \xc2\x9b"
                             "2J \xc2\x85 nbsp\xc2\xa0",
                             "c1 ?2J ? nbsp\xc2\xa0"},
                        Case{"raw \x9b"
                             "2J \xff \xe2\x98",
                             "raw ?2J ? ?"},
                        Case{"", ""}}) {
    EXPECT_EQ(platform::printableOnTerminal(c.text), c.shown) << c.text;
  }
}

// The journal's fields and homeprefs' messages escape differently; each keeps its bytes.
TEST(EscapeControlBytes, WritesEachStylesEscapesAndLeavesEveryOtherByte) {
  using platform::ControlEscapes;
  struct Case {
    std::string text;
    ControlEscapes escapes;
    std::string escaped;
  };
  for (const Case& c :
       {Case{"plain text", ControlEscapes::field, "plain text"},
        Case{"a\\b\tc\nd", ControlEscapes::field, "a\\\\b\\tc\\nd"},
        Case{std::string("\x01\x1b\r", 3), ControlEscapes::field, "\\x01\\x1b\\x0d"},
        Case{"caf\xc3\xa9", ControlEscapes::field, "caf\xc3\xa9"},  // bytes above 0x1f stay
        Case{"del\x7f", ControlEscapes::field, "del\x7f"},
        Case{"a\\b\tc\nd\x7f", ControlEscapes::hex, "a\\b\\x09c\\x0ad\\x7f"},
        Case{std::string("\0\x1b[2J caf\xc3\xa9", 11), ControlEscapes::hex, "\\x00\\x1b[2J caf\xc3\xa9"}}) {
    EXPECT_EQ(platform::escapeControlBytes(c.text, c.escapes), c.escaped) << c.text;
  }
}

TEST(Utf16Length, CountsCharactersAndTwoUnitsBeyondTheBasicPlane) {
  EXPECT_EQ(platform::utf16Length(""), 0u);
  EXPECT_EQ(platform::utf16Length("Airplane"), 8u);
  EXPECT_EQ(platform::utf16Length("Caf\xc3\xa9"), 4u);
  EXPECT_EQ(platform::utf16Length("\xe2\x82\xac"), 1u);
  EXPECT_EQ(platform::utf16Length("\xf0\x9f\x93\xb6!"), 3u);
}

}  // namespace
