#include "filter.h"

#include <gtest/gtest.h>

#include "tests/support/plist_literals.h"

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;
using substrate::Filter;
using substrate::matches;
using substrate::parseFilter;
using substrate::Process;

using plist_literals::dictionary;

Value filterPlist(Dictionary criteria) { return dictionary({{"Filter", std::move(criteria)}}); }

Process springBoard() {
  return {"com.apple.springboard", "SpringBoard", [](const std::string& name) { return name == "SBIconModel"; }};
}

bool loadsIntoSpringBoard(const Value& plist) {
  std::optional<Filter> filter = parseFilter(plist);
  EXPECT_TRUE(filter.has_value());
  return filter && matches(*filter, springBoard());
}

TEST(Filter, NoCriteriaMatchesEveryProcess) {
  EXPECT_TRUE(loadsIntoSpringBoard(Dictionary()));                  // no "Filter" at all
  EXPECT_TRUE(loadsIntoSpringBoard(filterPlist(Dictionary())));     // an empty "Filter"
  EXPECT_TRUE(loadsIntoSpringBoard(dictionary({{"Other", 1}})));    // unrelated keys
}

TEST(Filter, EachCriterionMatchesOnItsOwn) {
  EXPECT_TRUE(loadsIntoSpringBoard(filterPlist(dictionary({{"Bundles", Array{"com.apple.springboard"}}}))));
  EXPECT_TRUE(loadsIntoSpringBoard(filterPlist(dictionary({{"Executables", Array{"SpringBoard"}}}))));
  EXPECT_TRUE(loadsIntoSpringBoard(filterPlist(dictionary({{"Classes", Array{"NoSuchClass", "SBIconModel"}}}))));
}

TEST(Filter, CriteriaThatNameOtherProcessesDoNotMatch) {
  EXPECT_FALSE(loadsIntoSpringBoard(filterPlist(dictionary({{"Bundles", Array{"com.apple.mobilemail"}}}))));
  EXPECT_FALSE(loadsIntoSpringBoard(filterPlist(dictionary({{"Executables", Array{"MobileMail"}}}))));
  EXPECT_FALSE(loadsIntoSpringBoard(filterPlist(dictionary({{"Classes", Array{"MailAppController"}}}))));
  // Present but empty is a criterion that names nothing.
  EXPECT_FALSE(loadsIntoSpringBoard(filterPlist(dictionary({{"Bundles", Array{}}}))));
  // Names are compared exactly.
  EXPECT_FALSE(loadsIntoSpringBoard(filterPlist(dictionary({{"Bundles", Array{"COM.APPLE.SPRINGBOARD"}}}))));
}

TEST(Filter, AnyMatchingCriterionIsEnough) {
  EXPECT_TRUE(loadsIntoSpringBoard(filterPlist(
      dictionary({{"Bundles", Array{"com.apple.mobilemail"}}, {"Executables", Array{"SpringBoard"}}}))));
}

TEST(Filter, WrongShapesAreRejected) {
  EXPECT_FALSE(parseFilter(Value("a string")));
  EXPECT_FALSE(parseFilter(Value(Array{})));
  EXPECT_FALSE(parseFilter(dictionary({{"Filter", Array{"com.apple.springboard"}}})));
  EXPECT_FALSE(parseFilter(filterPlist(dictionary({{"Bundles", "com.apple.springboard"}}))));
  EXPECT_FALSE(parseFilter(filterPlist(dictionary({{"Executables", Array{"SpringBoard", 3}}}))));
  EXPECT_FALSE(parseFilter(filterPlist(dictionary({{"Classes", Dictionary()}}))));
}

}  // namespace
