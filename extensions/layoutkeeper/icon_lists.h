#pragma once

// Pruning duplicate icons out of an icon state: a dictionary whose "buttonBar"
// is a page and "iconLists" a list of pages, each a list of entries. A
// dictionary entry is a container with pages of its own under "iconLists";
// any other is a plain entry, one icon. In order (the button bar, then the
// pages, a container's where it stands) the first plain entry of each value
// survives and later equal ones go; containers are never compared.

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

// The pages of lists (null is none), each without the plain entries already
// seen, empty ones kept; nothing when lists or a container's "iconLists" is
// not a list of pages.
std::optional<platform::plist::Array> iconListsWithoutDuplicates(const platform::plist::Value* lists,
                                                                 SeenEntries& seen);

// The state with its button bar, then its pages, pruned with one record of
// seen entries, other keys as they were, and whether any entry went; nothing
// when a part is not of the shape above.
struct PrunedState {
  platform::plist::Dictionary state;
  bool droppedAny;
};
std::optional<PrunedState> iconStateWithoutDuplicates(const platform::plist::Dictionary& state);

}  // namespace layoutkeeper
