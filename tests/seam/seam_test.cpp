// Nothing of the kit's own crosses the seam between the product and the
// device: the SpringBoard methods the extensions call take and answer only
// objects and C scalars, as on the device, and the product sends no value of
// the kit's. The C entry points are held to the same by the compiler, in
// their one declaration (bindings/frameworks.h).

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <objc/runtime.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/device.h"
#include "tests/support/scratch_root.h"

namespace {

// --- The methods ----------------------------------------------------------

// Whether a method's type encoding names only objects, classes, selectors
// and C scalars: no pointer, C string, structure, union or array.
bool encodesOnlyObjectsAndScalars(const char* types) {
  for (const char* c = types; *c; ++c) {
    if (std::isdigit(static_cast<unsigned char>(*c)) || std::strchr("rnNoORV", *c)) continue;  // offsets, qualifiers
    if (!std::strchr("@#:cCsSiIlLqQfdBv", *c)) return false;
  }
  return true;
}

struct Method {
  const char* cls;
  const char* selector;
  bool classMethod = false;
};

class SeamMethods : public testing::Test {
 protected:
  ScratchRoot root_;  // an empty device: no icon state to load
};

TEST_F(SeamMethods, SpringBoardsMethodsTakeAndAnswerOnlyObjectsAndScalars) {
  const Method methods[] = {
      {"SBIconModel", "_iconState"},
      {"SBIconModel", "iconStatePath"},
      {"SBIconModel", "noteIconStateChangedExternally"},
      {"SBIconModel", "deleteIconState"},
      {"SBIconController", "isEditing"},
      {"SBIconController", "setIsEditing:"},
      {"SBIconController", "scrollViewDidEndDecelerating:"},
      {"SBIconScrollView", "isDecelerating"},
      {"UIApplication", "sharedApplication", true},
      {"UIApplication", "openURL:"},
  };
  for (const Method& m : methods) {
    Class cls = objc_getClass(m.cls);
    ASSERT_NE(cls, Nil) << m.cls;
    SEL selector = sel_registerName(m.selector);
    ::Method method = m.classMethod ? class_getClassMethod(cls, selector) : class_getInstanceMethod(cls, selector);
    ASSERT_NE(method, nullptr) << m.cls << " " << m.selector;
    const char* types = method_getTypeEncoding(method);
    EXPECT_TRUE(encodesOnlyObjectsAndScalars(types)) << "-[" << m.cls << " " << m.selector << "] is " << types;
  }
  Ivar scrollView = class_getInstanceVariable(objc_getClass("SBIconController"), "_scrollView");
  ASSERT_NE(scrollView, nullptr);
  EXPECT_EQ(ivar_getTypeEncoding(scrollView)[0], '@') << ivar_getTypeEncoding(scrollView);
}

// --- The product's side ---------------------------------------------------

// Every message the product sends and every entry-point type it declares,
// with where it stands, from the product's sources.
std::vector<std::string> seamCrossings() {
  const std::regex crossing(R"(send<[^>]*>|using \w+ = [^;]*\(\*\)\([^;]*\);)");
  std::vector<std::string> found;
  for (const char* folder : {"bindings", "extensions", "tools", "platform"}) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(SBKIT_SOURCE_DIR) + "/" + folder)) {
      std::string extension = entry.path().extension();
      if (extension != ".cpp" && extension != ".h" && extension != ".mm") continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      std::string source = text.str();
      for (std::sregex_iterator it(source.begin(), source.end(), crossing), end; it != end; ++it)
        found.push_back(entry.path().string() + ": " + it->str());
    }
  }
  return found;
}

TEST(Seam, TheProductSendsAndCallsWithNoValueOfTheKits) {
  std::vector<std::string> crossings = seamCrossings();
  EXPECT_FALSE(crossings.empty());  // the search itself works
  const std::regex kitValue(R"(plist|Value)");
  for (const std::string& crossing : crossings) EXPECT_FALSE(std::regex_search(crossing, kitValue)) << crossing;
}

// --- Foundation -------------------------------------------------------------

// Foundation is loaded on the runs that hand an object across, and on no
// other: the loader names each library it loads when asked to.
TEST(Seam, FoundationLoadsOnlyWhereAnObjectCrosses) {
  e2e::TemporaryDevice device;
  struct Row {
    std::vector<std::string> arguments;  // the program first
    bool loads;
  };
  const Row rows[] = {
      {{"radio", "y"}, false},
      {{"homeprefs", "SBAutoLockTime"}, false},
      {{"homeprefs", "-l"}, false},
      {{"iconcount", "Mail", "3"}, false},
      {{"radio"}, true},                                   // the last scan
      {{"homeprefs", "-i", "5", "SBAutoLockTime"}, true},  // the announcement's strings
      {{"storequery", "abbey road"}, true},                // the URL
  };
  for (const Row& row : rows) {
    e2e::Result r = e2e::runProgram(device, row.arguments[0], {row.arguments.begin() + 1, row.arguments.end()}, "",
                                    {{"LD_DEBUG", "files"}});
    EXPECT_TRUE(r.exited) << row.arguments[0];
    EXPECT_EQ(r.err.find("file=libgnustep-base") != std::string::npos, row.loads) << e2e::commandLine(row.arguments);
  }
}

}  // namespace
