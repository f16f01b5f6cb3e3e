#pragma once

// Property lists: the tree of dictionaries, arrays, strings, numbers, booleans,
// data and dates that the device keeps its settings and layouts in.

#include <cstddef>
#include <cstdint>
#include <memory>
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

// A dictionary with string keys that keeps the order its keys were added in.
// A dictionary of more than a few keys finds them through a hash index, so
// building or looking up one of thousands of keys (a large preferences file)
// stays linear; the many small ones of an icon state need no index.
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
  template <class T> const T* get(std::string_view key) const;
  // True only when the key holds the boolean true.
  bool isTrue(std::string_view key) const;
  // Replaces the value of an existing key in place, or adds the key at the end.
  void set(std::string_view key, Value value);
  // True when the key was there.
  bool erase(std::string_view key);

  std::size_t size() const;
  bool empty() const;
  const std::vector<DictionaryEntry>& entries() const;

 private:
  std::vector<DictionaryEntry> entries_;
  // The position of a key in entries_, if it is there.
  std::optional<std::size_t> positionOf(std::string_view key) const;

  // Up to this many keys are searched one by one, without an index.
  static constexpr std::size_t kLinearSearchLimit = 8;
  // Key to its position in entries_. Held apart so that a dictionary, and so
  // every value, stays as small as a string: an icon state holds many.
  struct Index;
  std::unique_ptr<Index> index_;
};

class Value {
 public:
  // A float is a real kept in single precision, as a number made from a float
  // is: it describes itself with the digits a float carries.
  using Storage = std::variant<bool, std::int64_t, double, float, std::string, Data, Date, Array, Dictionary>;

  Value(bool b) : storage_(b) {}
  Value(int i) : storage_(std::int64_t{i}) {}
  Value(std::int64_t i) : storage_(i) {}
  Value(double d) : storage_(d) {}
  Value(float f) : storage_(f) {}
  Value(const char* s) : storage_(std::string(s)) {}
  Value(std::string_view s) : storage_(std::string(s)) {}
  Value(std::string s) : storage_(std::move(s)) {}
  Value(Data d) : storage_(std::move(d)) {}
  Value(Date d) : storage_(d) {}
  Value(Array a) : storage_(std::move(a)) {}
  Value(Dictionary d) : storage_(std::move(d)) {}

  template <class T> bool is() const { return std::holds_alternative<T>(storage_); }
  template <class T> const T* get() const { return std::get_if<T>(&storage_); }
  template <class T> T* get() { return std::get_if<T>(&storage_); }
  const Storage& storage() const { return storage_; }

 private:
  Storage storage_;
};

struct DictionaryEntry {
  std::string key;
  Value value;
};

template <class T>
const T* Dictionary::get(std::string_view key) const {
  const Value* value = find(key);
  return value ? value->get<T>() : nullptr;
}

inline bool Dictionary::isTrue(std::string_view key) const {
  const bool* flag = get<bool>(key);
  return flag && *flag;
}

// Deep equality as collections compare their members: arrays in order,
// dictionaries by key whatever the order, and integers equal to reals of the
// same value.
bool operator==(const Value& a, const Value& b);
bool operator==(const Dictionary& a, const Dictionary& b);

// A hash consistent with operator==: equal values hash alike.
std::size_t hashValue(const Value& value);
struct Hash {
  std::size_t operator()(const Value& value) const { return hashValue(value); }
};

// Arrays and dictionaries nested deeper than this are refused. Real files nest
// a few levels (an icon state's folders about eight); 512 leaves ample room and
// keeps every walk over a tree, the parser's own included, far from the stack's
// end.
inline constexpr std::size_t kMaxDepth = 512;

// Parses XML or binary property-list bytes; nothing when they are not one or
// are beyond a budget (nested deeper than kMaxDepth, shared references that
// expand beyond the file's size: see plist_budget.h). *why, when given, then
// says which, as a short phrase such as "not a property list".
std::optional<Value> parse(std::string_view bytes, std::string* why = nullptr);
// The XML form of a value, as written to files; empty for a value that write
// refuses.
std::string toXml(const Value& value);

// Files larger than this are not read: 8 MiB is over ten times the largest
// file the kit meets (a preferences file of 10,000 keys is 0.6 MB), and it
// bounds the memory a read can take, since no file may expand to more values
// than it has bytes.
inline constexpr std::size_t kMaxFileSize = 8 * 1024 * 1024;

// Reads the property list at a device path; nothing when the file is missing,
// unreadable, not a regular file (a FIFO or a device is never waited on),
// larger than kMaxFileSize, not a property list or beyond a budget. *why, when
// given, then says which ("No such file or directory", "not a regular file").
std::optional<Value> read(std::string_view devicePath, std::string* why = nullptr);
// As read, but only when the top level is a dictionary ("not a dictionary").
std::optional<Dictionary> readDictionary(std::string_view devicePath, std::string* why = nullptr);

// Writes the value as an XML property list to a device path, as
// writeAtomically does. A value nested deeper than kMaxDepth, holding a string
// or key with a control character XML cannot carry, or a date more than 68
// years from 2001 (libplist makes dates from 32-bit seconds), is not written:
// failed.
WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner = {});

// A readable, deterministic text form: strings as they are at the top level,
// collections in the OpenStep style with dictionary keys sorted and strings
// quoted only where needed.
std::string description(const Value& value);

}  // namespace platform::plist
