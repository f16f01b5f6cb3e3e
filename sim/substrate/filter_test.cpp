#include "filter.h"

#include <gtest/gtest.h>

#include "tests/support/plist_literals.h"

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;
using substrate::mismatch;
using substrate::parseFilter;
using substrate::Process;

using plist_literals::dictionary;

Value filterPlist(Dictionary criteria) { return dictionary({{"Filter", std::move(criteria)}}); }

const Process kSpringBoard{
    {"com.apple.springboard", "com.apple.UIKit"}, "SpringBoard", 478.52, [](const std::string& name) {
      return name == "SBIconModel";
    }};

// What the filter answers for SpringBoard: "" when it loads, else the key.
std::string verdict(const Value& plist) {
  std::string why;
  std::optional<substrate::Filter> filter = parseFilter(plist, &why);
  if (!filter) return "refused: " + why;
  return mismatch(*filter, kSpringBoard).value_or("");
}

TEST(Filter, EveryKeyPresentMustMatchUnlessTheModeIsAny) {
  const Array springBoard{"com.apple.springboard"}, mail{"com.apple.mobilemail"};
  struct Case {
    Value plist;
    std::string verdict;
  };
  const Case cases[] = {
      {Dictionary(), ""},                             // no "Filter" at all
      {filterPlist(Dictionary()), ""},                // an empty "Filter"
      {filterPlist(dictionary({{"Other", 1}})), ""},  // unknown keys are ignored
      {filterPlist(dictionary({{"Bundles", springBoard}})), ""},
      {filterPlist(dictionary({{"Bundles", Array{"com.apple.UIKit"}}})), ""},  // a framework it has loaded
      {filterPlist(dictionary({{"Executables", Array{"SpringBoard"}}})), ""},
      {filterPlist(dictionary({{"Classes", Array{"NoSuchClass", "SBIconModel"}}})), ""},
      {filterPlist(dictionary({{"Bundles", mail}})), "Bundles"},
      {filterPlist(dictionary({{"Bundles", Array{}}})), "Bundles"},  // present and empty names nothing
      {filterPlist(dictionary({{"Bundles", Array{"COM.APPLE.SPRINGBOARD"}}})), "Bundles"},
      {filterPlist(dictionary({{"Classes", Array{"MailAppController"}}})), "Classes"},
      {filterPlist(dictionary({{"Bundles", mail}, {"Executables", Array{"SpringBoard"}}})), "Bundles"},
      {filterPlist(dictionary({{"Bundles", springBoard}, {"Executables", Array{"MobileMail"}}})), "Executables"},
      {filterPlist(dictionary({{"Bundles", mail}, {"Executables", Array{"SpringBoard"}}, {"Mode", "Any"}})), ""},
      {filterPlist(dictionary({{"Bundles", mail}, {"Classes", Array{"X"}}, {"Mode", "Any"}})), "Mode Any"},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{478.47}}})), ""},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{"478.52", 500}}})), ""},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{550.32}}})), "CoreFoundationVersion"},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{400, "478.52"}}})), "CoreFoundationVersion"},
      // The version holds whatever the mode.
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{600}}, {"Bundles", springBoard}, {"Mode", "Any"}})),
       "CoreFoundationVersion"},
      {Value("a string"), "refused: not a dictionary"},
      {dictionary({{"Filter", springBoard}}), "refused: Filter is not a dictionary"},
      {filterPlist(dictionary({{"Bundles", "com.apple.springboard"}})), "refused: Bundles is not a list of strings"},
      {filterPlist(dictionary({{"Executables", Array{"SpringBoard", 3}}})),
       "refused: Executables is not a list of strings"},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{"new"}}})),
       "refused: CoreFoundationVersion is not [min] or [min, max] of versions"},
      {filterPlist(dictionary({{"CoreFoundationVersion", Array{1, 2, 3}}})),
       "refused: CoreFoundationVersion is not [min] or [min, max] of versions"},
  };
  for (const Case& c : cases) EXPECT_EQ(verdict(c.plist), c.verdict) << platform::plist::description(c.plist);
}

}  // namespace
