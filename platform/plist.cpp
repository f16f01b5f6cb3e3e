#include "platform/plist.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/plist_node.h"

namespace platform::plist {

// --- Dictionary ---------------------------------------------------------------

// Looks keys up by string_view without making a string of each.
struct KeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};
struct Dictionary::Index {
  std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>> positions;
};

Dictionary::Dictionary() = default;
Dictionary::Dictionary(const Dictionary& other)
    : entries_(other.entries_), index_(other.index_ ? std::make_unique<Index>(*other.index_) : nullptr) {}
Dictionary::Dictionary(Dictionary&&) noexcept = default;
Dictionary& Dictionary::operator=(const Dictionary& other) {
  if (this != &other) *this = Dictionary(other);
  return *this;
}
Dictionary& Dictionary::operator=(Dictionary&&) noexcept = default;
Dictionary::~Dictionary() = default;

std::optional<std::size_t> Dictionary::positionOf(std::string_view key) const {
  if (!index_) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].key == key) return i;
    return std::nullopt;
  }
  auto position = index_->positions.find(key);
  if (position == index_->positions.end()) return std::nullopt;
  return position->second;
}

const Value* Dictionary::find(std::string_view key) const {
  auto position = positionOf(key);
  return position ? &entries_[*position].value : nullptr;
}

Value* Dictionary::find(std::string_view key) {
  return const_cast<Value*>(static_cast<const Dictionary*>(this)->find(key));
}

void Dictionary::set(std::string_view key, Value value) {
  if (auto position = positionOf(key)) {
    entries_[*position].value = std::move(value);
    return;
  }
  entries_.push_back({std::string(key), std::move(value)});
  if (index_) {
    index_->positions.emplace(entries_.back().key, entries_.size() - 1);
  } else if (entries_.size() > kLinearSearchLimit) {
    index_ = std::make_unique<Index>();
    for (std::size_t i = 0; i < entries_.size(); ++i) index_->positions.emplace(entries_[i].key, i);
  }
}

bool Dictionary::erase(std::string_view key) {
  auto position = positionOf(key);
  if (!position) return false;
  // The key may be the entry's own: it goes from the index before the entry goes.
  if (index_) index_->positions.erase(index_->positions.find(key));
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*position));
  if (index_)
    for (std::size_t i = *position; i < entries_.size(); ++i) index_->positions.find(entries_[i].key)->second = i;
  return true;
}

std::size_t Dictionary::size() const { return entries_.size(); }
bool Dictionary::empty() const { return entries_.empty(); }
const std::vector<DictionaryEntry>& Dictionary::entries() const { return entries_; }

// --- Equality and hashing -----------------------------------------------------

namespace {

// Integers and reals compare by exact value, as collections compare numbers:
// an integer equals a real only when the real is exactly that integer, so
// 2^53 + 1 does not equal the real 2^53 that it would round to.
std::optional<double> realOf(const Value& v) {
  if (auto d = v.get<double>()) return *d;
  if (auto f = v.get<float>()) return static_cast<double>(*f);
  return std::nullopt;
}

// The integer a real is exactly, if it is one within the 64-bit range.
std::optional<std::int64_t> integerOf(double d) {
  // -2^63 is a double exactly; 2^63 is the first double beyond the range.
  if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0) || std::trunc(d) != d) return std::nullopt;
  return static_cast<std::int64_t>(d);
}

std::size_t mix(std::size_t seed, std::size_t h) { return seed ^ (h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2)); }

}  // namespace

bool operator==(const Dictionary& a, const Dictionary& b) {
  if (a.size() != b.size()) return false;
  for (const auto& entry : a.entries()) {
    const Value* other = b.find(entry.key);
    if (!other || !(*other == entry.value)) return false;
  }
  return true;
}

bool operator==(const Value& a, const Value& b) {
  const std::int64_t *ia = a.get<std::int64_t>(), *ib = b.get<std::int64_t>();
  auto ra = realOf(a), rb = realOf(b);
  if (ia && ib) return *ia == *ib;
  if (ra && rb) return *ra == *rb;
  if (ia && rb) return integerOf(*rb) == *ia;
  if (ra && ib) return integerOf(*ra) == *ib;
  if (ia || ib || ra || rb) return false;
  return a.storage() == b.storage();
}

std::size_t hashValue(const Value& value) {
  return std::visit(
      [&](const auto& v) -> std::size_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return v ? 0x51 : 0x50;
        } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double> ||
                             std::is_same_v<T, float>) {
          // A real that is exactly an integer hashes like that integer (0.0
          // and -0.0 both like 0); any other real equals no integer.
          if constexpr (std::is_same_v<T, std::int64_t>) {
            return std::hash<std::int64_t>{}(v);
          } else {
            double d = static_cast<double>(v);
            if (auto i = integerOf(d)) return std::hash<std::int64_t>{}(*i);
            return std::hash<double>{}(d);
          }
        } else if constexpr (std::is_same_v<T, std::string>) {
          return std::hash<std::string>{}(v);
        } else if constexpr (std::is_same_v<T, Data>) {
          return mix(0xda7a, std::hash<std::string_view>{}(
                                 std::string_view(reinterpret_cast<const char*>(v.data()), v.size())));
        } else if constexpr (std::is_same_v<T, Date>) {
          return mix(0xda7e, std::hash<double>{}(v.secondsSince2001));
        } else if constexpr (std::is_same_v<T, Array>) {
          std::size_t h = 0xa77a;
          for (const auto& element : v) h = mix(h, hashValue(element));
          return h;
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          // Key order does not matter for equality, so it must not for the hash.
          std::size_t h = 0xd1c7;
          for (const auto& entry : v.entries())
            h += mix(std::hash<std::string>{}(entry.key), hashValue(entry.value));
          return h;
        }
      },
      value.storage());
}

// --- Parsing and the XML form ------------------------------------------------

std::optional<Value> parse(std::string_view bytes, std::string* why) {
  Node root = parseTree(bytes, why);
  if (!root) return std::nullopt;
  return fromNode(root.get());
}

std::string toXml(const Value& value) {
  if (whyUnwritable(value)) return {};
  Node root(toNode(value), plist_free);
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root.get(), &xml, &length);
  std::string text = xml ? std::string(xml, length) : std::string();
  plist_to_xml_free(xml);
  return text;
}

}  // namespace platform::plist
