#pragma once

// What a property list may cost before it is built: checked on the bytes, so
// that a hostile file is refused before the parser spends time or memory on it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/plist/plist.h"

namespace platform::plist {

// A binary property list's object table: "bplist00", the objects, their
// offsets, and a 32-byte trailer (six unused bytes, the widths of an offset
// and a reference, the number of objects, the top one, where the offsets
// start). An object's marker byte holds its kind, then its length, or 15 when
// an integer object with the length follows.
class BinaryTable {
 public:
  enum Kind : unsigned char {
    kInteger = 0x1,
    kData = 0x4,
    kString = 0x5,
    kUtf16 = 0x6,
    kArray = 0xA,
    kOrderedSet = 0xB,
    kSet = 0xC,
    kDict = 0xD,
  };
  struct Object {
    unsigned char kind = 0;
    std::uint64_t length = 0;             // elements, pairs, bytes or UTF-16 units
    const unsigned char* body = nullptr;  // after the marker and any length object
  };

  // Nothing when the trailer does not describe a table within the bytes.
  static std::optional<BinaryTable> of(std::string_view bytes);

  std::uint64_t count() const { return count_; }
  std::uint64_t top() const { return top_; }
  // The object at an index; nothing when it does not lie within the bytes.
  std::optional<Object> object(std::uint64_t index) const;
  // The i-th reference of a container: a dictionary's keys come first, then
  // its values.
  std::uint64_t reference(const Object& container, std::uint64_t i) const;
  static bool isContainer(unsigned char kind);
  // True for text holding U+0000.
  static bool holdsNul(const Object& text);

 private:
  BinaryTable() = default;
  const unsigned char* data_ = nullptr;
  std::uint64_t tableStart_ = 0, count_ = 0, top_ = 0;
  std::size_t offsetWidth_ = 0, refWidth_ = 0;
};

// The number held big-endian in width bytes (at most 8).
std::uint64_t bigEndian(const unsigned char* bytes, std::size_t width);

// The reason given for bytes that are not a property list.
inline const std::string kNotAList = "not a property list";

// Why the bytes must not be parsed, or nothing when they are within budget:
// nesting deeper than kMaxDepth; a binary list that refers to itself or whose
// shared references expand to more values than the file has bytes (an
// unshared tree spends a byte at least on each); a dictionary key with a NUL,
// which the parser cannot hand back; a NUL byte in XML. Bytes that are no list
// pass: the parser refuses them. *cutAtNul is set when a binary list holds
// 8-bit text with a NUL inside, which the parser keeps only up to the NUL.
std::optional<std::string> budgetProblem(std::string_view bytes, bool* cutAtNul = nullptr);

}  // namespace platform::plist
