#pragma once

// Binary property lists built object by object, so that tests can make what
// no ordinary writer would: shared and cyclic references, nesting of any
// depth, text with a NUL, dates and integers beyond every usual range.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class BinaryPlist {
 public:
  using Ref = std::uint64_t;

  // The reference the next object will get: an array may name itself.
  Ref next() const { return objects_.size(); }

  Ref array(const std::vector<Ref>& elements) {
    std::string o = header(0xA, elements.size());
    for (Ref r : elements) o += number(r, kRefWidth);
    return add(o);
  }
  Ref dictionary(const std::vector<std::pair<Ref, Ref>>& entries) {
    std::string o = header(0xD, entries.size());
    for (const auto& e : entries) o += number(e.first, kRefWidth);
    for (const auto& e : entries) o += number(e.second, kRefWidth);
    return add(o);
  }
  Ref ascii(std::string_view text) { return add(header(0x5, text.size()) + std::string(text)); }
  Ref utf16(std::u16string_view text) {
    std::string o = header(0x6, text.size());
    for (char16_t unit : text) o += number(unit, 2);
    return add(o);
  }
  Ref integer(std::int64_t value) { return add("\x13" + number(static_cast<std::uint64_t>(value), 8)); }
  // Above INT64_MAX: sixteen bytes, the upper eight zero.
  Ref unsignedInteger(std::uint64_t value) { return add("\x14" + std::string(8, '\0') + number(value, 8)); }
  Ref date(double secondsSince2001) { return add("\x33" + bits(secondsSince2001)); }
  Ref real(double value) { return add("\x23" + bits(value)); }

  // The encoding of an object as it stands in the file: a test can look for it
  // in a rewritten file to see that the value came back bit for bit.
  const std::string& encoding(Ref object) const { return objects_[object]; }

  std::string bytes(Ref top) const {
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const std::string& o : objects_) {
      offsets.push_back(out.size());
      out += o;
    }
    std::uint64_t table = out.size();
    for (std::uint64_t offset : offsets) out += number(offset, 8);
    out += std::string(6, '\0');
    out += static_cast<char>(8);
    out += static_cast<char>(kRefWidth);
    out += number(objects_.size(), 8) + number(top, 8) + number(table, 8);
    return out;
  }

 private:
  static constexpr std::size_t kRefWidth = 4;

  static std::string number(std::uint64_t n, std::size_t width) {
    std::string out(width, '\0');
    for (std::size_t i = width; i-- > 0; n >>= 8) out[i] = static_cast<char>(n & 0xff);
    return out;
  }
  static std::string bits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return number(u, 8);
  }
  static std::string header(unsigned kind, std::size_t length) {
    if (length < 15) return std::string(1, static_cast<char>(kind << 4 | length));
    return std::string(1, static_cast<char>(kind << 4 | 0xF)) + "\x13" + number(length, 8);
  }
  Ref add(std::string object) {
    objects_.push_back(std::move(object));
    return objects_.size() - 1;
  }

  std::vector<std::string> objects_;
};
