#pragma once

// Property lists: the tree of dictionaries, arrays, strings, numbers, booleans,
// data and dates that the device keeps its settings and layouts in. A value
// holds whatever a file can: integers to 2^64 - 1, dates to the bit, text
// with a NUL, so that a file read and written back loses nothing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/file.h"

namespace platform::plist {

class Value;
struct DictionaryEntry;

using Array = std::vector<Value>;
using Data = std::vector<std::uint8_t>;

// A point in time, as seconds since 2001-01-01 00:00:00 UTC (the device's epoch).
struct Date {
  double secondsSince2001 = 0;
  friend bool operator==(const Date&, const Date&) = default;
};

// A reference inside an archive of objects, as keyed archives store them.
struct Uid {
  std::uint64_t value = 0;
  friend bool operator==(const Uid&, const Uid&) = default;
};

// A dictionary with string keys that keeps the order its keys were added in.
// Keys are found one by one: tools look up a key or two, and the readers,
// which build large ones, add keys they know to be new.
class Dictionary {
 public:
  Dictionary();
  Dictionary(const Dictionary&);
  Dictionary(Dictionary&&) noexcept;
  Dictionary& operator=(const Dictionary&);
  Dictionary& operator=(Dictionary&&) noexcept;
  ~Dictionary();

  const Value* find(std::string_view key) const;
  Value* find(std::string_view key);
  // The value under key when it holds a T (a Dictionary, an Array, a
  // std::string...); null when the key is missing or holds another kind.
  template <class T>
  const T* get(std::string_view key) const;
  // True only when the key holds the boolean true.
  bool isTrue(std::string_view key) const;

  // Replaces the value of an existing key in place, or adds the key at the end.
  void set(std::string_view key, Value value);
  // Adds a key the dictionary does not hold yet at the end, without looking.
  void add(std::string key, Value value);
  // True when the key was there.
  bool erase(std::string_view key);

  std::size_t size() const;
  bool empty() const;
  void reserve(std::size_t size);
  const std::vector<DictionaryEntry>& entries() const { return entries_; }
  // The entries in the order of their keys.
  std::vector<const DictionaryEntry*> sortedEntries() const;

 private:
  std::vector<DictionaryEntry> entries_;
};

class Value {
 public:
  // A float is a real kept in single precision, described with a float's
  // digits. An integer above INT64_MAX is a std::uint64_t, every other one a
  // std::int64_t.
  using Storage =
      std::variant<bool, std::int64_t, std::uint64_t, double, float, std::string, Data, Date, Uid, Array, Dictionary>;

  Value(bool b) : storage_(b) {}
  Value(int i) : storage_(std::int64_t{i}) {}
  Value(std::int64_t i) : storage_(i) {}
  Value(std::uint64_t u) {
    if (u <= static_cast<std::uint64_t>(INT64_MAX)) storage_ = static_cast<std::int64_t>(u);
    else storage_ = u;
  }
  Value(double d) : storage_(d) {}
  Value(float f) : storage_(f) {}
  Value(const char* s) : storage_(std::string(s)) {}
  Value(std::string_view s) : storage_(std::string(s)) {}
  Value(std::string s) : storage_(std::move(s)) {}
  Value(Data d) : storage_(std::move(d)) {}
  Value(Date d) : storage_(d) {}
  Value(Uid u) : storage_(u) {}
  Value(Array a) : storage_(std::move(a)) {}
  Value(Dictionary d) : storage_(std::move(d)) {}

  template <class T>
  bool is() const {
    return std::holds_alternative<T>(storage_);
  }
  template <class T>
  const T* get() const {
    return std::get_if<T>(&storage_);
  }
  template <class T>
  T* get() {
    return std::get_if<T>(&storage_);
  }
  const Storage& storage() const { return storage_; }

 private:
  Storage storage_;
};

struct DictionaryEntry {
  std::string key;
  Value value;
};

// Defined where DictionaryEntry is complete: clang instantiates the vector's
// members where they are used, which here is before it is.
inline Dictionary::Dictionary() = default;
inline Dictionary::Dictionary(const Dictionary&) = default;
inline Dictionary::Dictionary(Dictionary&&) noexcept = default;
inline Dictionary& Dictionary::operator=(const Dictionary&) = default;
inline Dictionary& Dictionary::operator=(Dictionary&&) noexcept = default;
inline Dictionary::~Dictionary() = default;
inline std::size_t Dictionary::size() const { return entries_.size(); }
inline bool Dictionary::empty() const { return entries_.empty(); }
inline void Dictionary::reserve(std::size_t size) { entries_.reserve(size); }

template <class T>
const T* Dictionary::get(std::string_view key) const {
  const Value* value = find(key);
  return value ? value->get<T>() : nullptr;
}

inline bool Dictionary::isTrue(std::string_view key) const {
  const bool* flag = get<bool>(key);
  return flag && *flag;
}

// Deep equality: arrays in order, dictionaries whatever their order, numbers
// by exact value (an integer equals a real that is exactly it).
bool operator==(const Value& a, const Value& b);
bool operator==(const Dictionary& a, const Dictionary& b);

// A hash consistent with operator==: equal values hash alike.
std::size_t hashValue(const Value& value);

// Arrays and dictionaries nested deeper are refused: real files nest a few
// levels, and every walk over a tree, the parser's included, stays far from
// the stack's end.
inline constexpr std::size_t kMaxDepth = 512;

// Larger files are not read: over ten times the largest the kit meets (10,000
// preferences are 0.6 MB), it bounds a read's memory, as no file may expand to
// more values than it has bytes.
inline constexpr std::size_t kMaxFileSize = 8 * 1024 * 1024;

enum class Format { xml, binary };

// Parses XML or binary property-list bytes; nothing when they are not one or
// are beyond a budget (see budget.h), with *why saying which as a short phrase
// such as "not a property list".
std::optional<Value> parse(std::string_view bytes, std::string* why = nullptr);

// A value's bytes as a file of one format, from encode.
struct Encoded {
  std::string bytes;
};
// The value as a file of the format; nothing, with the reason in *why ("it
// holds text with a control character that XML cannot carry"), when the format
// cannot carry it back as it is: nesting deeper than kMaxDepth; in XML a
// control character or a date outside the years 1000 to 9999; in binary a key
// with a NUL or text with a NUL that is not UTF-8. XML's equal values pass (a
// real -0 written as 0, a date to the second).
std::optional<Encoded> encode(const Value& value, Format format, std::string* why = nullptr);
// The XML form of a value, as encode gives it; empty when it has none.
std::string toXml(const Value& value);

// Reads the property list at a device path as readRegularFile reads files
// (never waiting on a FIFO) and parse parses them, within kMaxFileSize; *why
// says why there is none ("No such file or directory", "not a regular file").
std::optional<Value> read(std::string_view devicePath, std::string* why = nullptr);
// As read, but only when the top level is a dictionary ("not a dictionary").
std::optional<Dictionary> readDictionary(std::string_view devicePath, std::string* why = nullptr);

// A file of settings as read, to be written back as it came: its top-level
// dictionary and its format (binary stays binary).
struct Document {
  Value root;  // a Dictionary
  Format format;

  Dictionary& entries() { return *root.get<Dictionary>(); }
  const Dictionary& entries() const { return *root.get<Dictionary>(); }

  // The file at a device path, as readDictionary reads it.
  static std::optional<Document> read(std::string_view devicePath, std::string* why = nullptr);
};

// Replaces the file at a device path with the bytes, as writeAtomically does.
WriteResult write(std::string_view devicePath, const Encoded& file, std::optional<Owner> owner = {});
// Writes the value as an XML property list there; failed, with nothing
// replaced, when encode refuses the value.
WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner = {});

// A deterministic text form: a string as it is, collections in the OpenStep
// style with keys sorted and strings quoted only where needed.
std::string description(const Value& value);

}  // namespace platform::plist
