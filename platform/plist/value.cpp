// Values: the dictionary's keys, and equality and hashing as collections
// compare their members.

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/plist/plist.h"

namespace platform::plist {

// --- Dictionary ---------------------------------------------------------------

const Value* Dictionary::find(std::string_view key) const {
  for (const DictionaryEntry& entry : entries_)
    if (entry.key == key) return &entry.value;
  return nullptr;
}

Value* Dictionary::find(std::string_view key) {
  return const_cast<Value*>(static_cast<const Dictionary*>(this)->find(key));
}

void Dictionary::set(std::string_view key, Value value) {
  if (Value* old = find(key)) *old = std::move(value);
  else entries_.push_back({std::string(key), std::move(value)});
}

void Dictionary::add(std::string key, Value value) { entries_.push_back({std::move(key), std::move(value)}); }

std::vector<const DictionaryEntry*> Dictionary::sortedEntries() const {
  std::vector<const DictionaryEntry*> sorted;
  sorted.reserve(entries_.size());
  for (const auto& entry : entries_) sorted.push_back(&entry);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->key < b->key; });
  return sorted;
}

bool Dictionary::erase(std::string_view key) {
  auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const DictionaryEntry& e) { return e.key == key; });
  if (entry == entries_.end()) return false;
  entries_.erase(entry);
  return true;
}

// --- Equality and hashing -----------------------------------------------------

namespace {

// A number as its exact value: an integer below 2^63 as signed, one above as
// unsigned; reals that are exactly an integer count as that integer, others
// stay reals. So 2^53 + 1 does not equal the real 2^53 that it would round to.
struct Number {
  enum Kind { signedInteger, unsignedInteger, real } kind;
  std::int64_t i = 0;
  std::uint64_t u = 0;
  double d = 0;
  bool operator==(const Number&) const = default;
};

std::optional<Number> numberOf(const Value& v) {
  if (auto i = v.get<std::int64_t>()) return Number{Number::signedInteger, *i};
  if (auto u = v.get<std::uint64_t>()) return Number{Number::unsignedInteger, 0, *u};
  std::optional<double> real;
  if (auto d = v.get<double>()) real = *d;
  if (auto f = v.get<float>()) real = static_cast<double>(*f);
  if (!real) return std::nullopt;
  double d = *real;
  // -2^63 is a double exactly, 2^63 and 2^64 too: the ranges of the two kinds.
  if (std::trunc(d) == d && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
    return Number{Number::signedInteger, static_cast<std::int64_t>(d)};
  if (std::trunc(d) == d && d >= 9223372036854775808.0 && d < 18446744073709551616.0)
    return Number{Number::unsignedInteger, 0, static_cast<std::uint64_t>(d)};
  // 0.0 and -0.0 are both the integer 0 above; NaN equals nothing.
  return Number{Number::real, 0, 0, d};
}

std::size_t mix(std::size_t seed, std::size_t h) {
  return seed ^ (h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

bool operator==(const Dictionary& a, const Dictionary& b) {
  if (a.size() != b.size()) return false;
  // Sorted rather than looked up key by key, so that large ones compare in
  // n log n.
  auto x = a.sortedEntries(), y = b.sortedEntries();
  for (std::size_t i = 0; i < x.size(); ++i)
    if (x[i]->key != y[i]->key || !(x[i]->value == y[i]->value)) return false;
  return true;
}

bool operator==(const Value& a, const Value& b) {
  auto na = numberOf(a), nb = numberOf(b);
  if (na || nb) return na && nb && *na == *nb;  // a NaN real equals nothing, itself included
  return a.storage() == b.storage();
}

std::size_t hashValue(const Value& value) {
  if (auto n = numberOf(value)) {
    switch (n->kind) {
      case Number::signedInteger: return std::hash<std::int64_t>{}(n->i);
      case Number::unsignedInteger: return std::hash<std::uint64_t>{}(n->u);
      case Number::real: return std::hash<double>{}(n->d);
    }
  }
  return std::visit(
      [&](const auto& v) -> std::size_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return v ? 0x51 : 0x50;
        } else if constexpr (std::is_same_v<T, std::string>) {
          return std::hash<std::string>{}(v);
        } else if constexpr (std::is_same_v<T, Data>) {
          return mix(0xda7a, std::hash<std::string_view>{}(
                                 std::string_view(reinterpret_cast<const char*>(v.data()), v.size())));
        } else if constexpr (std::is_same_v<T, Date>) {
          // -0 and 0 are one date.
          return mix(0xda7e, std::hash<double>{}(v.secondsSince2001 == 0 ? 0.0 : v.secondsSince2001));
        } else if constexpr (std::is_same_v<T, Uid>) {
          return mix(0x01d, std::hash<std::uint64_t>{}(v.value));
        } else if constexpr (std::is_same_v<T, Array>) {
          std::size_t h = 0xa77a;
          for (const auto& element : v) h = mix(h, hashValue(element));
          return h;
        } else if constexpr (std::is_same_v<T, Dictionary>) {
          // Key order does not matter for equality, so it must not for the hash.
          std::size_t h = 0xd1c7;
          for (const auto& entry : v.entries()) h += mix(std::hash<std::string>{}(entry.key), hashValue(entry.value));
          return h;
        } else {
          return 0;  // the numbers, above
        }
      },
      value.storage());
}

}  // namespace platform::plist
