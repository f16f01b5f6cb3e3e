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
  template <class T> const T* get(std::string_view key) const;
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
  // A float is a real kept in single precision, as a number made from a float
  // is: it describes itself with the digits a float carries. An integer above
  // INT64_MAX, which only an unsigned one can be, is a std::uint64_t; every
  // other integer is a std::int64_t.
  using Storage = std::variant<bool, std::int64_t, std::uint64_t, double, float, std::string, Data, Date, Uid, Array,
                               Dictionary>;

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

// Deep equality as collections compare their members: arrays in order,
// dictionaries by key whatever the order, and numbers by their exact value,
// so an integer equals a real that is exactly it and an unsigned 2^63 no
// signed integer.
bool operator==(const Value& a, const Value& b);
bool operator==(const Dictionary& a, const Dictionary& b);

// A hash consistent with operator==: equal values hash alike.
std::size_t hashValue(const Value& value);

// Arrays and dictionaries nested deeper than this are refused. Real files nest
// a few levels (an icon state's folders about eight); 512 leaves ample room and
// keeps every walk over a tree, the parser's own included, far from the stack's
// end.
inline constexpr std::size_t kMaxDepth = 512;

// Files larger than this are not read: 8 MiB is over ten times the largest
// file the kit meets (a preferences file of 10,000 keys is 0.6 MB), and it
// bounds the memory a read can take, since no file may expand to more values
// than it has bytes.
inline constexpr std::size_t kMaxFileSize = 8 * 1024 * 1024;

enum class Format { xml, binary };

// Parses XML or binary property-list bytes; nothing when they are not one or
// are beyond a budget (nested deeper than kMaxDepth, shared references that
// expand beyond the file's size: see budget.h). *why, when given, then
// says which, as a short phrase such as "not a property list".
std::optional<Value> parse(std::string_view bytes, std::string* why = nullptr);

// A value's bytes as a file of one format, from encode.
struct Encoded {
  std::string bytes;
};
// The value as a file of the format; nothing when the format cannot carry it
// back as it is, with the reason in *why ("it holds text with a control
// character that XML cannot carry"): arrays and dictionaries nested deeper
// than kMaxDepth, in XML text or keys with a control character or dates
// outside the years 1000 to 9999, in binary keys with a NUL or text with a NUL
// that is not UTF-8. What XML writes as an equal value passes: a real -0 is
// written as 0, and a date to the second.
std::optional<Encoded> encode(const Value& value, Format format, std::string* why = nullptr);
// The XML form of a value, as encode gives it; empty when it has none.
std::string toXml(const Value& value);

// Reads the property list at a device path; nothing when the file is missing,
// unreadable, not a regular file (a FIFO or a device is never waited on),
// larger than kMaxFileSize, not a property list or beyond a budget. *why, when
// given, then says which ("No such file or directory", "not a regular file").
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

// Replaces the file at a device path with the encoded bytes, as
// writeAtomically does.
WriteResult write(std::string_view devicePath, const Encoded& file, std::optional<Owner> owner = {});
// Writes the value as an XML property list there; failed, with nothing
// replaced, when encode refuses the value.
WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner = {});

// A readable, deterministic text form: strings as they are at the top level,
// collections in the OpenStep style with dictionary keys sorted and strings
// quoted only where needed.
std::string description(const Value& value);

}  // namespace platform::plist
