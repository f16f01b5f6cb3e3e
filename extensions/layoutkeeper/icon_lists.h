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
#include <vector>

#include "platform/plist.h"

namespace layoutkeeper {

// Set to 1 when the walk drops an entry; the walk never clears it, its caller
// does once it has acted on it.
extern unsigned char duplicatesFound;

// The plain entries met so far in one pruning, by equality: a hash set of
// pointers to them, open addressing in one flat table, so that a test costs
// no allocation and, once the table is out of the cache, one memory access,
// which the walk asks for ahead of time. It refers to the entries
// themselves, so they must outlive it.
class SeenEntries {
 public:
  static std::size_t hashOf(const platform::plist::Value& entry) { return platform::plist::hashValue(entry); }

  // True, and the entry remembered, when no equal entry was met before;
  // hash is hashOf(entry).
  bool addIfNew(const platform::plist::Value& entry, std::size_t hash);
  bool addIfNew(const platform::plist::Value& entry) { return addIfNew(entry, hashOf(entry)); }
  // Starts loading the part of the table where an entry of this hash goes.
  void prefetch(std::size_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(hash)]);
  }

 private:
  struct Slot {
    std::size_t hash = 0;
    const platform::plist::Value* entry = nullptr;  // null: free
  };
  // Where the search for a hash starts: its multiplicative spread over the
  // table, so that hashes that differ only in high bits (integers) do not
  // pile up.
  std::size_t home(std::size_t hash) const { return (hash * 0x9E3779B97F4A7C15ull) >> shift_; }
  void grow(std::size_t capacity);

  std::vector<Slot> slots_;  // a power of two long, never more than half full
  std::size_t size_ = 0;
  unsigned shift_ = 64;      // 64 - log2(slots_.size())
};

// A new list of pages, one per page of lists, each without the plain entries
// already seen; every page is kept, empty or not. Null lists count as no
// pages. Nothing when lists is not a list of pages or a container's
// "iconLists" is not one.
std::optional<platform::plist::Array> iconListsWithoutDuplicates(const platform::plist::Value* lists,
                                                                  SeenEntries& seen);

// The state with its button bar and then its pages pruned with one shared
// record of seen entries, every other key as it was and in its place. A
// missing part is skipped. Nothing when a part is not of the shape above.

std::optional<platform::plist::Dictionary> iconStateWithoutDuplicates(const platform::plist::Dictionary& state);

}  // namespace layoutkeeper
