#include "platform/url_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::escapeForQueryValue;
using platform::escapeForUrl;
using platform::escapeForUserInfo;

TEST(EscapeForUrl, KeepsLettersDigitsAndTheUnreservedAndReservedCharacters) {
  const std::string kept =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
      "-_.!~*'()"
      ";/?:@&=+$,";
  EXPECT_EQ(escapeForUrl(kept), kept);
  EXPECT_EQ(escapeForUrl(""), "");
}

TEST(EscapeForUrl, EscapesEveryOtherAsciiCharacterAsUpperCaseHex) {
  EXPECT_EQ(escapeForUrl("hello world"), "hello%20world");
  EXPECT_EQ(escapeForUrl("\"%#<>[]\\^`{|}"), "%22%25%23%3C%3E%5B%5D%5C%5E%60%7B%7C%7D");
  EXPECT_EQ(escapeForUrl(std::string("\0\t\n\x1f\x7f", 5)), "%00%09%0A%1F%7F");
  // Every byte is either kept or escaped: nothing is lost, nothing added twice.
  for (int c = 0; c < 256; ++c) {
    std::string one(1, static_cast<char>(c));
    std::string escaped = escapeForUrl(one);
    EXPECT_TRUE(escaped == one || escaped.size() == 3) << c;
  }
}

TEST(EscapeForUrl, EscapesEachUtf8ByteOutsideAscii) {
  EXPECT_EQ(escapeForUrl("caf\xc3\xa9"), "caf%C3%A9");
  EXPECT_EQ(escapeForUrl("\xe2\x82\xac 5"), "%E2%82%AC%205");
  EXPECT_EQ(escapeForUrl("\xf0\x9f\x8e\xb5"), "%F0%9F%8E%B5");
  // Bytes that are not UTF-8 are escaped one by one all the same.
  EXPECT_EQ(escapeForUrl("\xff\xc3"), "%FF%C3");
}

TEST(EscapeForQueryValue, AlsoEscapesWhatWouldSplitOrChangeAParameter) {
  EXPECT_EQ(escapeForQueryValue("rock & roll"), "rock%20%26%20roll");
  EXPECT_EQ(escapeForQueryValue("1+1=2;"), "1%2B1%3D2%3B");
  EXPECT_EQ(escapeForQueryValue("50% #1"), "50%25%20%231");
  // What the URL may carry inside a value stays readable.
  EXPECT_EQ(escapeForQueryValue("a/b?c:d@e$f,g!h"), "a/b?c:d@e$f,g!h");
  EXPECT_EQ(escapeForQueryValue("caf\xc3\xa9"), "caf%C3%A9");
}

TEST(EscapeForUserInfo, AlsoEscapesWhatWouldEndTheUserInformationOrChangeTheHost) {
  EXPECT_EQ(escapeForUserInfo("a:b@c/d?e#f[g]h%i"), "a%3Ab%40c%2Fd%3Fe%23f%5Bg%5Dh%25i");
  EXPECT_EQ(escapeForUserInfo("p ss"), "p%20ss");
  EXPECT_EQ(escapeForUserInfo("me;&=+$,!"), "me;&=+$,!");
  EXPECT_EQ(escapeForUserInfo("\xc3\xa9t\xc3\xa9"), "%C3%A9t%C3%A9");
}

}  // namespace
