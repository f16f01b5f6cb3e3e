#include "icon_lists.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

namespace layoutkeeper {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

unsigned char duplicatesFound = 0;

bool SeenEntries::addIfNew(const Value& entry, std::size_t hash) {
  if (2 * (size_ + 1) > slots_.size()) grow(std::max<std::size_t>(16, 2 * slots_.size()));
  std::size_t mask = slots_.size() - 1;
  for (std::size_t at = home(hash);; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (slot.entry == nullptr) {
      slot = {hash, &entry};
      ++size_;
      return true;
    }
    if (slot.hash == hash && *slot.entry == entry) return false;
  }
}

void SeenEntries::grow(std::size_t capacity) {
  std::vector<Slot> old(capacity);
  old.swap(slots_);
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  std::size_t mask = capacity - 1;
  for (const Slot& slot : old) {
    if (slot.entry == nullptr) continue;
    std::size_t at = home(slot.hash);
    while (slots_[at].entry != nullptr) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

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
// list, or holds a container whose pages are not a list of lists. Entries go
// in runs: the hashes of a run are worked out and their places in the record
// asked for first, so the memory accesses overlap instead of queueing.
std::optional<Array> pageWithoutDuplicates(const Value& page, SeenEntries& seen) {
  const Array* entries = page.get<Array>();
  if (entries == nullptr) return std::nullopt;
  Array newPage;
  newPage.reserve(entries->size());
  constexpr std::size_t kRun = 16;
  std::array<std::size_t, kRun> hashes;
  for (std::size_t start = 0; start < entries->size(); start += kRun) {
    std::size_t end = std::min(entries->size(), start + kRun);
    for (std::size_t i = start; i < end; ++i) {
      if ((*entries)[i].is<Dictionary>()) continue;
      hashes[i - start] = SeenEntries::hashOf((*entries)[i]);
      seen.prefetch(hashes[i - start]);
    }
    for (std::size_t i = start; i < end; ++i) {
      const Value& entry = (*entries)[i];
      if (const Dictionary* container = entry.get<Dictionary>()) {
        std::optional<Array> inner = iconListsWithoutDuplicates(container->find(kIconLists), seen);
        if (!inner) return std::nullopt;
        newPage.emplace_back(containerWith(*container, std::move(*inner)));
      } else if (seen.addIfNew(entry, hashes[i - start])) {
        newPage.push_back(entry);
      } else {
        duplicatesFound = 1;
      }
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

std::optional<Dictionary> iconStateWithoutDuplicates(const Dictionary& state) {
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
  return result;
}

}  // namespace layoutkeeper
