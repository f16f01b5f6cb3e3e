#include "icon_lists.h"
#include "tests/support/plist_literals.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using layoutkeeper::iconListsWithoutDuplicates;
using layoutkeeper::iconStateWithoutDuplicates;
using layoutkeeper::SeenEntries;
using platform::plist::Array;
using platform::plist::Data;
using platform::plist::Dictionary;
using platform::plist::Value;

using plist_literals::dictionary;
using plist_literals::list;

// A page of entries and a list of pages are both lists.
template <class... T>
Value page(T&&... entries) {
  return list(std::forward<T>(entries)...);
}
template <class... T>
Value pages(T&&... each) {
  return list(std::forward<T>(each)...);
}

Value container(Value lists) { return dictionary({{"displayName", "Games"}, {"iconLists", std::move(lists)}}); }

std::vector<std::string> keys(const Dictionary& dictionary) {
  std::vector<std::string> found;
  for (const auto& entry : dictionary.entries()) found.push_back(entry.key);
  return found;
}

class Walk : public testing::Test {
 protected:
  // Prunes lists with a fresh record of seen entries; droppedAny is then what
  // the record found.
  std::optional<Value> prune(const Value& lists) {
    SeenEntries seen;
    std::optional<Array> pruned = iconListsWithoutDuplicates(&lists, seen);
    droppedAny = seen.droppedAny();
    if (!pruned) return std::nullopt;
    return Value(std::move(*pruned));
  }
  bool droppedAny = false;
};

TEST_F(Walk, TheWorkedExample) {
  // Bar A B; page 1 D A; page 2 B, a container with one page D E, F.
  Dictionary state = dictionary({
      {"buttonBar", page("A", "B")},
      {"iconLists", pages(page("D", "A"), page("B", container(pages(page("D", "E"))), "F"))},
  });

  auto pruned = iconStateWithoutDuplicates(state);

  ASSERT_TRUE(pruned);
  Dictionary want = dictionary({
      {"buttonBar", page("A", "B")},
      {"iconLists", pages(page("D"), page(container(pages(page("E"))), "F"))},
  });
  EXPECT_EQ(pruned->state, want) << platform::plist::description(pruned->state);
  EXPECT_TRUE(pruned->droppedAny);
}

TEST_F(Walk, WithoutDuplicatesEverythingStaysAndTheFlagStaysClear) {
  Value lists = pages(page("A", "B"), page(), page(container(pages(page("C"))), "D"));
  EXPECT_EQ(prune(lists), lists);
  EXPECT_FALSE(droppedAny);
}

TEST_F(Walk, TheFirstOccurrenceSurvivesWhereverTheLaterOnesStand) {
  struct Case {
    const char* name;
    Value lists;
    Value want;
  };
  const Case cases[] = {
      {"twice on one page", pages(page("A", "B", "A")), pages(page("A", "B"))},
      {"on a later page", pages(page("A"), page("B", "A")), pages(page("A"), page("B"))},
      {"three times", pages(page("A", "A"), page("A")), pages(page("A"), page())},
      {"inside a container first, then at the top level", pages(page(container(pages(page("A"))), "A")),
       pages(page(container(pages(page("A")))))},
      {"at the top level first, then inside a later container",
       pages(page("A"), page(container(pages(page("A", "B"))))), pages(page("A"), page(container(pages(page("B")))))},
      {"in nested containers", pages(page(container(pages(page(container(pages(page("A"))), "A"))), "A")),
       pages(page(container(pages(page(container(pages(page("A"))))))))},
      {"on a later page of one container", pages(page(container(pages(page("A"), page("A", "B"))))),
       pages(page(container(pages(page("A"), page("B")))))},
  };
  for (const Case& c : cases) {
    std::optional<Value> pruned = prune(c.lists);
    ASSERT_TRUE(pruned) << c.name;
    EXPECT_EQ(*pruned, c.want) << c.name << ": " << platform::plist::description(*pruned);
    EXPECT_TRUE(droppedAny) << c.name;
  }
}

TEST_F(Walk, EqualContainersBothStayButTheSecondLosesWhatWasSeen) {
  Value lists = pages(page(container(pages(page("A"))), container(pages(page("A")))));
  EXPECT_EQ(prune(lists), pages(page(container(pages(page("A"))), container(pages(page())))));
  EXPECT_TRUE(droppedAny);
}

TEST_F(Walk, EmptiedPagesAndContainersAreKept) {
  Value lists =
      pages(page("A", container(pages(page("B")))), page("A"), page(container(pages(page("A", "B"), page("B")))));
  EXPECT_EQ(prune(lists),
            pages(page("A", container(pages(page("B")))), page(), page(container(pages(page(), page())))));
}

TEST_F(Walk, AContainerWithoutPagesGetsAnEmptyListAtTheEnd) {
  Value lists = pages(page(dictionary({{"displayName", "Empty"}, {"listType", "folder"}}), "A"));
  std::optional<Value> pruned = prune(lists);
  ASSERT_TRUE(pruned);
  const Dictionary* copy = pruned->get<Array>()->at(0).get<Array>()->at(0).get<Dictionary>();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(keys(*copy), (std::vector<std::string>{"displayName", "listType", "iconLists"}));
  EXPECT_EQ(*copy->find("iconLists"), Value(Array{}));
  EXPECT_FALSE(droppedAny);
}

TEST_F(Walk, OtherKeysOfContainersStayUnchangedAndInPlace) {
  Dictionary folder = dictionary(
      {{"displayName", "Games"}, {"iconLists", pages(page("A", "A"))}, {"listType", "folder"}, {"badge", 3}});
  std::optional<Value> pruned = prune(pages(page(folder)));
  ASSERT_TRUE(pruned);
  const Dictionary* copy = pruned->get<Array>()->at(0).get<Array>()->at(0).get<Dictionary>();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(keys(*copy), (std::vector<std::string>{"displayName", "iconLists", "listType", "badge"}));
  EXPECT_EQ(*copy->find("iconLists"), pages(page("A")));
  EXPECT_EQ(*copy->find("displayName"), Value("Games"));
  EXPECT_EQ(*copy->find("listType"), Value("folder"));
  EXPECT_EQ(*copy->find("badge"), Value(3));
}

TEST_F(Walk, PlainEntriesOfAnyKindAreComparedByValue) {
  // Equal numbers of either kind, equal lists, equal data and booleans are
  // duplicates; a number and its text, or lists in another order, are not.
  Value lists = pages(page(3, list("x", "y"), Data{1, 2}, true, "3"),
                      page(3.0, list("x", "y"), Data{1, 2}, true, list("y", "x")));
  EXPECT_EQ(prune(lists), pages(page(3, list("x", "y"), Data{1, 2}, true, "3"), page(list("y", "x"))));
  EXPECT_TRUE(droppedAny);
}

TEST_F(Walk, OneRecordIsSharedAcrossCalls) {
  Value first = pages(page("A", "B"));
  Value second = pages(page("B", "C"));
  SeenEntries seen;
  ASSERT_TRUE(iconListsWithoutDuplicates(&first, seen));
  EXPECT_FALSE(seen.droppedAny());
  std::optional<Array> pruned = iconListsWithoutDuplicates(&second, seen);
  ASSERT_TRUE(pruned);
  EXPECT_EQ(Value(*pruned), pages(page("C")));
  EXPECT_TRUE(seen.droppedAny());
}

TEST_F(Walk, NullListsAreNoPages) {
  SeenEntries seen;
  std::optional<Array> pruned = iconListsWithoutDuplicates(nullptr, seen);
  ASSERT_TRUE(pruned);
  EXPECT_TRUE(pruned->empty());
}

TEST_F(Walk, TheFlagIsNeverCleared) {
  SeenEntries seen;
  Value first = pages(page("A", "A")), second = pages(page("B"));
  ASSERT_TRUE(iconListsWithoutDuplicates(&first, seen));
  ASSERT_TRUE(iconListsWithoutDuplicates(&second, seen));
  EXPECT_TRUE(seen.droppedAny()) << "what one call found stays with the record";
}

TEST_F(Walk, ListsOfAnotherShapeGiveNothing) {
  const Value shapes[] = {
      "not a list",
      list("a page that is a string"),
      pages(page("A"), dictionary({{"a page", "that is a dictionary"}})),
      pages(page(dictionary({{"iconLists", "not a list"}}))),
      pages(page(dictionary({{"iconLists", list("a page that is a string")}}))),
  };
  for (const Value& lists : shapes) EXPECT_FALSE(prune(lists)) << platform::plist::description(lists);
}

TEST(SeenEntries, FindsEqualValuesOfEitherNumberKindAmongThousands) {
  // An integer and a real of the same value are one entry, so they must meet
  // in the set: the hash agrees with the equality across the two kinds.
  std::vector<Value> numbers;
  for (int i = 0; i < 5000; ++i) numbers.emplace_back(std::int64_t{i} << 20);
  std::vector<Value> again;
  for (int i = 0; i < 5000; ++i) again.emplace_back(static_cast<double>(std::int64_t{i} << 20));
  SeenEntries seen;
  for (const Value& number : numbers) EXPECT_TRUE(seen.addIfNew(number)) << platform::plist::description(number);
  for (const Value& number : again) EXPECT_FALSE(seen.addIfNew(number)) << platform::plist::description(number);
  Value other = std::int64_t{5000} << 20;
  EXPECT_TRUE(seen.addIfNew(other));
  EXPECT_FALSE(seen.addIfNew(other));
}

using State = Walk;

TEST_F(State, TheButtonBarIsPrunedFirst) {
  Dictionary state = dictionary({{"iconLists", pages(page("A", "B"))}, {"buttonBar", page("B", "C")}});
  auto pruned = iconStateWithoutDuplicates(state);
  ASSERT_TRUE(pruned);
  // The bar keeps B although the pages come first in the dictionary.
  EXPECT_EQ(pruned->state, dictionary({{"iconLists", pages(page("A"))}, {"buttonBar", page("B", "C")}}));
  EXPECT_EQ(keys(pruned->state), (std::vector<std::string>{"iconLists", "buttonBar"}));
  EXPECT_TRUE(pruned->droppedAny);
}

TEST_F(State, DuplicatesWithinTheButtonBarAreDropped) {
  auto pruned = iconStateWithoutDuplicates(dictionary({{"buttonBar", page("A", "A")}}));
  ASSERT_TRUE(pruned);
  EXPECT_EQ(pruned->state, dictionary({{"buttonBar", page("A")}}));
  EXPECT_TRUE(pruned->droppedAny);
}

TEST_F(State, AMissingPartIsSkippedAndTheOtherPruned) {
  auto noBar = iconStateWithoutDuplicates(dictionary({{"iconLists", pages(page("A", "A"))}}));
  ASSERT_TRUE(noBar);
  EXPECT_EQ(noBar->state, dictionary({{"iconLists", pages(page("A"))}}));

  auto noPages = iconStateWithoutDuplicates(dictionary({{"buttonBar", page("A")}}));
  ASSERT_TRUE(noPages);
  EXPECT_EQ(noPages->state, dictionary({{"buttonBar", page("A")}}));

  auto neither = iconStateWithoutDuplicates(dictionary({{"iconListsVersion", 2}}));
  ASSERT_TRUE(neither);
  EXPECT_EQ(neither->state, dictionary({{"iconListsVersion", 2}}));
}

TEST_F(State, OtherKeysStayUnchangedAndInPlace) {
  Dictionary state = dictionary({{"version", 2},
                                 {"buttonBar", page("A")},
                                 {"extra", dictionary({{"iconLists", pages(page("A", "A"))}})},
                                 {"iconLists", pages(page("A"))},
                                 {"last", list("A", "A")}});
  auto pruned = iconStateWithoutDuplicates(state);
  ASSERT_TRUE(pruned);
  EXPECT_EQ(keys(pruned->state), (std::vector<std::string>{"version", "buttonBar", "extra", "iconLists", "last"}));
  EXPECT_EQ(*pruned->state.find("version"), Value(2));
  EXPECT_EQ(*pruned->state.find("extra"), *state.find("extra"));
  EXPECT_EQ(*pruned->state.find("last"), *state.find("last"));
  EXPECT_EQ(*pruned->state.find("iconLists"), pages(page()));
}

TEST_F(State, PartsOfAnotherShapeGiveNothing) {
  EXPECT_FALSE(iconStateWithoutDuplicates(dictionary({{"buttonBar", "A"}})));
  EXPECT_FALSE(iconStateWithoutDuplicates(dictionary({{"buttonBar", page("A")}, {"iconLists", list("A")}})));
  EXPECT_FALSE(iconStateWithoutDuplicates(dictionary({{"iconLists", Dictionary()}})));
}

TEST_F(State, TheStateItselfIsLeftAlone) {
  Dictionary state =
      dictionary({{"buttonBar", page("A")}, {"iconLists", pages(page("A", container(pages(page("A")))))}});
  Dictionary before = state;
  ASSERT_TRUE(iconStateWithoutDuplicates(state));
  EXPECT_EQ(state, before);
}

}  // namespace
