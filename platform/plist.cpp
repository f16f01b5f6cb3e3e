#include "platform/plist.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "platform/device_path.h"

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

// Numbers compare by value across integers and reals, as collections do.
std::optional<double> numberOf(const Value& v) {
  if (auto i = v.get<std::int64_t>()) return static_cast<double>(*i);
  if (auto d = v.get<double>()) return *d;
  if (auto f = v.get<float>()) return static_cast<double>(*f);
  return std::nullopt;
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
  if (a.is<std::int64_t>() && b.is<std::int64_t>()) return *a.get<std::int64_t>() == *b.get<std::int64_t>();
  auto na = numberOf(a), nb = numberOf(b);
  if (na || nb) return na && nb && *na == *nb;
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
          // Integral reals hash like the integer they equal.
          double d = static_cast<double>(v);
          if (std::is_same_v<T, std::int64_t> || (std::trunc(d) == d && std::fabs(d) < 9.2e18))
            return std::hash<std::int64_t>{}(static_cast<std::int64_t>(v));
          return std::hash<double>{}(d);
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

// --- Conversion to and from libplist -------------------------------------------

namespace {

using Node = std::unique_ptr<void, decltype(&plist_free)>;

std::optional<Value> fromNode(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value(static_cast<std::int64_t>(u));  // stored unsigned, meant signed
    }
    case PLIST_UID: {
      uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
      char* s = nullptr;
      if (plist_get_node_type(node) == PLIST_STRING)
        plist_get_string_val(node, &s);
      else
        plist_get_key_val(node, &s);
      std::string text = s ? s : "";
      free(s);
      return Value(std::move(text));
    }
    case PLIST_DATA: {
      char* bytes = nullptr;
      uint64_t length = 0;
      plist_get_data_val(node, &bytes, &length);
      Data data(bytes, bytes + length);
      free(bytes);
      return Value(std::move(data));
    }
    case PLIST_DATE: {
      int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      return Value(Date{sec + usec / 1e6});
    }
    case PLIST_ARRAY: {
      Array array;
      uint32_t count = plist_array_get_size(node);
      array.reserve(count);
      for (uint32_t i = 0; i < count; ++i) {
        auto element = fromNode(plist_array_get_item(node, i));
        if (!element) return std::nullopt;
        array.push_back(std::move(*element));
      }
      return Value(std::move(array));
    }
    case PLIST_DICT: {
      Dictionary dictionary;
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(node, &it);
      for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        if (!item) {
          free(key);
          break;
        }
        auto element = fromNode(item);
        std::string name = key ? key : "";
        free(key);
        if (!element) {
          free(it);
          return std::nullopt;
        }
        dictionary.set(name, std::move(*element));
      }
      free(it);
      return Value(std::move(dictionary));
    }
    default:
      return std::nullopt;
  }
}

plist_t toNode(const Value& value) {
  return std::visit(
      [](const auto& v) -> plist_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return plist_new_bool(v);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return plist_new_uint(static_cast<uint64_t>(v));
        } else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>) {
          return plist_new_real(static_cast<double>(v));
        } else if constexpr (std::is_same_v<T, std::string>) {
          return plist_new_string(v.c_str());
        } else if constexpr (std::is_same_v<T, Data>) {
          return plist_new_data(reinterpret_cast<const char*>(v.data()), v.size());
        } else if constexpr (std::is_same_v<T, Date>) {
          double whole = std::floor(v.secondsSince2001);
          return plist_new_date(static_cast<int32_t>(whole),
                                static_cast<int32_t>(std::lround((v.secondsSince2001 - whole) * 1e6)));
        } else if constexpr (std::is_same_v<T, Array>) {
          plist_t array = plist_new_array();
          for (const auto& element : v) plist_array_append_item(array, toNode(element));
          return array;
        } else {
          static_assert(std::is_same_v<T, Dictionary>);
          plist_t dict = plist_new_dict();
          for (const auto& entry : v.entries()) plist_dict_set_item(dict, entry.key.c_str(), toNode(entry.value));
          return dict;
        }
      },
      value.storage());
}

}  // namespace

std::optional<Value> parse(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > UINT32_MAX) return std::nullopt;
  plist_t root = nullptr;  // libplist leaves it alone unless it starts as NULL
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (!root) return std::nullopt;
  Node owner(root, plist_free);
  return fromNode(root);
}

std::string toXml(const Value& value) {
  Node root(toNode(value), plist_free);
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root.get(), &xml, &length);
  std::string text = xml ? std::string(xml, length) : std::string();
  plist_to_xml_free(xml);
  return text;
}

// --- Files ----------------------------------------------------------------------

std::optional<Value> read(std::string_view devicePath) {
  std::ifstream in(hostPath(devicePath), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return parse(bytes.view());
}

std::optional<Dictionary> readDictionary(std::string_view devicePath) {
  auto value = read(devicePath);
  if (!value || !value->is<Dictionary>()) return std::nullopt;
  return std::move(*value->get<Dictionary>());
}

WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner) {
  std::string target = hostPath(devicePath).string();
  std::string xml = toXml(value);
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return WriteResult::failed;
  mode_t mask = umask(0);
  umask(mask);
  bool ok = fchmod(fd, 0666 & ~mask) == 0;
  for (std::size_t done = 0; ok && done < xml.size();) {
    ssize_t n = ::write(fd, xml.data() + done, xml.size() - done);
    if (n < 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  // The owner goes on the new file, never on the path afterwards: a link
  // swapped in at the path in between would hand that link's target over.
  bool owned = !owner || fchown(fd, owner->user, owner->group) == 0;
  ok = (fsync(fd) == 0) && ok;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return WriteResult::failed;
  }
  return owned ? WriteResult::written : WriteResult::writtenWithoutOwner;
}

}  // namespace platform::plist
