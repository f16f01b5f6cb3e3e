#include "tools/indicator/icon_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using indicator::listingOf;

TEST(IconListing, OnlyPngEntriesWithAStatusBarPrefixAreListedWithoutPrefixAndExtension) {
  EXPECT_EQ(listingOf({"Default_Foo.png", "FSO_Foo.png", "Other.png", "Default_Bar.gif"}), "Foo\t\t\tFoo\t\t\t\n");
  EXPECT_EQ(listingOf({"Default.png", "Default_Bar.PNG", "default_Lower.png", "FSO_Wifi", "English.lproj", "Icon.png"}),
            "\n");
  // Only the last extension goes.
  EXPECT_EQ(listingOf({"FSO_Two.parts.png"}), "Two.parts\t\t\n");
}

TEST(IconListing, NamesOf7815And16CharactersGetThreeTwoTwoAndOneTab) {
  EXPECT_EQ(listingOf({"Default_Seven77.png"}), "Seven77\t\t\t\n");
  EXPECT_EQ(listingOf({"Default_Eight888.png"}), "Eight888\t\t\n");
  EXPECT_EQ(listingOf({"FSO_FifteenChars15x.png"}), "FifteenChars15x\t\t\n");
  EXPECT_EQ(listingOf({"FSO_SixteenChars16xx.png"}), "SixteenChars16xx\t\n");
  EXPECT_EQ(listingOf({"Default_ABitLongerThanAColumn.png"}), "ABitLongerThanAColumn\t\n");
  // Characters count, not bytes: "Cafébar" is seven characters in eight bytes,
  // "CaféCrèmeBrûlée" fifteen in nineteen.
  EXPECT_EQ(listingOf({"FSO_Caf\xc3\xa9"
                       "bar.png"}),
            "Caf\xc3\xa9"
            "bar\t\t\t\n");
  EXPECT_EQ(listingOf({"FSO_Caf\xc3\xa9"
                       "Cr\xc3\xa8"
                       "meBr\xc3\xbbl\xc3\xa9"
                       "e.png"}),
            "Caf\xc3\xa9"
            "Cr\xc3\xa8"
            "meBr\xc3\xbbl\xc3\xa9"
            "e\t\t\n");
}

TEST(IconListing, ALineEndsAfterEveryThirdListedNameAndOneMoreClosesTheListing) {
  EXPECT_EQ(listingOf({}), "\n");
  EXPECT_EQ(listingOf({"FSO_A.png", "FSO_B.png", "FSO_C.png"}), "A\t\t\tB\t\t\tC\t\t\t\n\n");
  // Skipped names do not count.
  EXPECT_EQ(listingOf({"FSO_A.png", "Skip.png", "FSO_B.png", "Default_C.gif", "FSO_C.png", "FSO_D.png"}),
            "A\t\t\tB\t\t\tC\t\t\t\nD\t\t\t\n");
  EXPECT_EQ(listingOf({"FSO_1.png", "FSO_2.png", "FSO_3.png", "FSO_4.png", "FSO_5.png", "FSO_6.png"}),
            "1\t\t\t2\t\t\t3\t\t\t\n4\t\t\t5\t\t\t6\t\t\t\n\n");
}

}  // namespace
