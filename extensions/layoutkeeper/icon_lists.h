#pragma once

// Pruning duplicate icons out of an icon state.
//
// An icon state is a dictionary: "buttonBar" holds one page, "iconLists" a
// list of pages, and a page is a list of entries. A dictionary entry is a
// container with pages of its own under "iconLists"; any other entry is a
// plain entry standing for one icon. Entries are visited in order: the button
// bar first, then the pages, each container's pages where the container
// stands. The first plain entry of each value survives and every later equal
// one is dropped; containers are kept and never compared.

#include <cstddef>
#include <optional>
#include <unordered_set>

#include "platform/plist/plist.h"

namespace layoutkeeper {

// The record of the plain entries met so far in one pruning: a hash set of
// pointers to the entries, keyed by the property list's equality and the hash
// that agrees with it. It points at the entries, so they must outlive it.
class SeenEntries {
 public:
  // True, and the entry remembered, when no equal entry was met before.
  bool addIfNew(const platform::plist::Value& entry) {
    bool isNew = entries_.insert(&entry).second;
    droppedAny_ = droppedAny_ || !isNew;
    return isNew;
  }
  // True once an entry equal to one met before was offered: the walk dropped it.
  bool droppedAny() const { return droppedAny_; }

 private:
  struct ByValue {
    std::size_t operator()(const platform::plist::Value* entry) const { return platform::plist::hashValue(*entry); }
    bool operator()(const platform::plist::Value* a, const platform::plist::Value* b) const { return *a == *b; }
  };
  std::unordered_set<const platform::plist::Value*, ByValue, ByValue> entries_;
  bool droppedAny_ = false;
};

// A new list of pages, one per page of lists, each without the plain entries
// already seen; every page is kept, empty or not. Null lists count as no
// pages. Nothing when lists is not a list of pages or a container's
// "iconLists" is not one.
std::optional<platform::plist::Array> iconListsWithoutDuplicates(const platform::plist::Value* lists,
                                                                  SeenEntries& seen);

// The state with its button bar and then its pages pruned with one shared
// record of seen entries, every other key as it was and in its place, and
// whether that dropped any entry. A missing part is skipped. Nothing when a
// part is not of the shape above.
struct PrunedState {
  platform::plist::Dictionary state;
  bool droppedAny;
};
std::optional<PrunedState> iconStateWithoutDuplicates(const platform::plist::Dictionary& state);

}  // namespace layoutkeeper
