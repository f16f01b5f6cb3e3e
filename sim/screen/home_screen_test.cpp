#include "home_screen.h"

#include <gtest/gtest.h>

#include "tests/support/plist_literals.h"

namespace {

using namespace plist_literals;
using screen::HomeIcon;
using screen::HomePage;
using platform::plist::Data;
using platform::plist::Value;

// The icons as text: identifiers, "[folder: a b]" and "?" for unknown kinds.
std::string describe(const std::vector<HomeIcon>& icons) {
  std::string text;
  for (const HomeIcon& icon : icons) {
    if (!text.empty()) text += " ";
    if (icon.kind == HomeIcon::Kind::application) text += icon.identifier;
    else if (icon.kind == HomeIcon::Kind::unknown) text += "?";
    else {
      text += "[" + icon.folderName + ":";
      for (const std::string& inside : icon.folderIcons) text += " " + inside;
      text += "]";
    }
  }
  return text;
}

TEST(HomeScreen, PagesDockAndFoldersComeFromTheState) {
  Value state = dictionary(
      {{"buttonBar", list("p", "m")},
       {"iconLists",
        list(list("a", dictionary({{"displayName", "Games"}, {"iconLists", list(list("g", "s"), list("t"))}})),
             list("b"))}});
  std::optional<HomePage> first = screen::homePage(&state, 1);
  ASSERT_TRUE(first);
  EXPECT_EQ(describe(first->icons), "a [Games: g s t]");
  EXPECT_EQ(describe(first->dock), "p m");
  EXPECT_EQ(first->pageCount, 2u);
  EXPECT_EQ(describe(screen::homePage(&state, 2)->icons), "b");
  EXPECT_FALSE(screen::homePage(&state, 3));
  EXPECT_FALSE(screen::homePage(&state, 0));
}

TEST(HomeScreen, AnyShapeGivesAPictureOfOnePageAtLeast) {
  struct Case {
    const char* what;
    std::optional<Value> state;
    std::string icons, dock;
  };
  const Case cases[] = {
      {"no state", std::nullopt, "", ""},
      {"a list at the top", list("a"), "", ""},
      {"iconLists of text", dictionary({{"iconLists", "a"}, {"buttonBar", 7}}), "", ""},
      {"a page that is a number", dictionary({{"iconLists", list(5)}}), "", ""},
      {"entries of other kinds",
       dictionary({{"iconLists", list(list(1, true, Data{1}, "a"))}, {"buttonBar", list(2.5)}}), "? ? ? a", "?"},
      {"a folder of odd shape",
       dictionary({{"iconLists", list(list(dictionary({{"displayName", 3}, {"iconLists", "x"}})))}}), "[Folder:]", ""},
  };
  for (const Case& c : cases) {
    const Value* state = c.state ? &*c.state : nullptr;
    std::optional<HomePage> page = screen::homePage(state, 1);
    ASSERT_TRUE(page) << c.what;
    EXPECT_EQ(describe(page->icons), c.icons) << c.what;
    EXPECT_EQ(describe(page->dock), c.dock) << c.what;
  }
}

TEST(HomeScreen, APageShowsSixteenIconsTheDockFourAFolderNine) {
  platform::plist::Array many, folderPage;
  for (int i = 0; i < 20; ++i) many.push_back(Value(std::to_string(i)));
  for (int i = 0; i < 12; ++i) folderPage.push_back(Value("f" + std::to_string(i)));
  many.insert(many.begin(), Value(dictionary({{"iconLists", list(Value(folderPage))}})));
  Value state = dictionary({{"iconLists", list(Value(many))}, {"buttonBar", Value(many)}});
  std::optional<HomePage> page = screen::homePage(&state, 1);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->icons.size(), 16u);
  EXPECT_EQ(page->dock.size(), 4u);
  EXPECT_EQ(page->icons[0].folderIcons.size(), 9u);
  EXPECT_EQ(page->icons[15].identifier, "14");
}

}  // namespace
