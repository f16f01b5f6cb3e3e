#include "icon_lists.h"

#include <utility>

namespace layoutkeeper {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

constexpr const char* kButtonBar = "buttonBar";
constexpr const char* kIconLists = "iconLists";

// A copy of the container with lists under "iconLists": in the key's place
// when it had one, at the end otherwise. The old pages are not copied.
Dictionary containerWith(const Dictionary& container, Array lists) {
  Dictionary copy;
  bool placed = false;
  for (const auto& [key, value] : container.entries()) {
    if (key == kIconLists) {
      copy.set(key, std::move(lists));
      placed = true;
    } else {
      copy.set(key, value);
    }
  }
  if (!placed) copy.set(kIconLists, std::move(lists));
  return copy;
}

// The page without the plain entries already seen; nothing when it is not a
// list, or holds a container whose pages are not a list of lists.
std::optional<Array> pageWithoutDuplicates(const Value& page, SeenEntries& seen) {
  const Array* entries = page.get<Array>();
  if (entries == nullptr) return std::nullopt;
  Array newPage;
  newPage.reserve(entries->size());
  for (const Value& entry : *entries) {
    if (const Dictionary* container = entry.get<Dictionary>()) {
      std::optional<Array> inner = iconListsWithoutDuplicates(container->find(kIconLists), seen);
      if (!inner) return std::nullopt;
      newPage.emplace_back(containerWith(*container, std::move(*inner)));
    } else if (seen.addIfNew(entry)) {
      newPage.push_back(entry);
    }
  }
  return newPage;
}

}  // namespace

std::optional<Array> iconListsWithoutDuplicates(const Value* lists, SeenEntries& seen) {
  Array result;
  if (lists == nullptr) return result;
  const Array* pages = lists->get<Array>();
  if (pages == nullptr) return std::nullopt;
  result.reserve(pages->size());
  for (const Value& page : *pages) {
    std::optional<Array> newPage = pageWithoutDuplicates(page, seen);
    if (!newPage) return std::nullopt;
    result.emplace_back(std::move(*newPage));
  }
  return result;
}

std::optional<PrunedState> iconStateWithoutDuplicates(const Dictionary& state) {
  SeenEntries seen;
  const Value* bar = state.find(kButtonBar);
  const Value* lists = state.find(kIconLists);
  std::optional<Value> buttonBar;
  if (bar) {
    std::optional<Array> pruned = pageWithoutDuplicates(*bar, seen);
    if (!pruned) return std::nullopt;
    buttonBar = std::move(*pruned);
  }
  std::optional<Value> iconLists;
  if (lists) {
    std::optional<Array> pruned = iconListsWithoutDuplicates(lists, seen);
    if (!pruned) return std::nullopt;
    iconLists = std::move(*pruned);
  }

  Dictionary result;
  for (const auto& [key, value] : state.entries()) {
    if (key == kButtonBar) result.set(key, std::move(*buttonBar));
    else if (key == kIconLists) result.set(key, std::move(*iconLists));
    else result.set(key, value);
  }
  return PrunedState{std::move(result), seen.droppedAny()};
}

}  // namespace layoutkeeper
