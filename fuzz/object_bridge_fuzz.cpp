// The object bridge on property lists made from the input's choices: every
// value, of every kind and nested, becomes an object and comes back from it
// identical, kind for kind and bit for bit, with its dictionaries' keys in
// any order. Only a value that holds text that is not UTF-8 (a string object
// holds characters, not bytes), a keyed archive's reference (which has no
// class in Foundation) or a date beyond Foundation's distant past or future
// (years 1 and 4001) or that is no number may be refused.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "fuzz/identical_values.h"
#include "platform/object_bridge.h"
#include "platform/text.h"

namespace {

using platform::plist::Array;
using platform::plist::Data;
using platform::plist::Date;
using platform::plist::Dictionary;
using platform::plist::Uid;
using platform::plist::Value;

// One per kind a value holds; a byte picks among them. Past the input's end
// every byte is zero, which makes a boolean: a value made from a short input
// ends.
enum Kind { kBoolean, kInteger, kUnsigned, kReal, kFloat, kString, kData, kDate, kUid, kArray, kDictionary };
constexpr std::size_t kKinds = kDictionary + 1;
static_assert(kKinds == std::variant_size_v<Value::Storage>, "a kind of value that the harness does not make");

// Well within the bridge's limits on depth and count.
constexpr int kDeepest = 16;
constexpr std::size_t kMostElements = 8;

// The next bytes as the bits of a T.
template <class T>
T raw(fuzz::Choices& in) {
  unsigned char bytes[sizeof(T)];
  for (unsigned char& byte : bytes) byte = in.byte();
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// One of the values where a conversion is likeliest to go wrong.
template <class T>
T pick(fuzz::Choices& in, std::initializer_list<T> edges) {
  return edges.begin()[in.below(edges.size())];
}

// Small integers, any 64 bits, and the edges of the ranges a number object
// or a real may keep an integer in.
std::int64_t integer(fuzz::Choices& in) {
  using limits = std::numeric_limits<std::int64_t>;
  switch (in.below(3)) {
    case 0: return static_cast<std::int8_t>(in.byte());
    case 1: return raw<std::int64_t>(in);
    default:
      return pick<std::int64_t>(
          in, {limits::min(), limits::max(), limits::min() + 1, limits::max() - 1, INT32_MIN, INT32_MAX, UINT32_MAX,
               std::int64_t{1} << 53, (std::int64_t{1} << 53) + 1, -(std::int64_t{1} << 53) - 1});
  }
}

// Integers only an unsigned one holds: above INT64_MAX.
std::uint64_t unsignedAboveSigned(fuzz::Choices& in) {
  constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
  if (in.below(2) == 0) return raw<std::uint64_t>(in) | kTop;
  return pick<std::uint64_t>(in, {kTop, kTop + 1, kTop + 44, UINT64_MAX, UINT64_MAX - 1, 12345678901234567890u});
}

// Reals from their edges, from integers (exact ones, and ones a real rounds)
// and from raw bits, which give NaNs and subnormals too.
template <class Real>
Real real(fuzz::Choices& in) {
  using limits = std::numeric_limits<Real>;
  switch (in.below(4)) {
    case 0: return static_cast<Real>(static_cast<std::int8_t>(in.byte()));
    case 1: return static_cast<Real>(integer(in));
    case 2: return raw<Real>(in);
    default:
      return pick<Real>(
          in, {Real(0), -Real(0), Real(0.5), Real(-1.25), Real(0.1), limits::min(), limits::denorm_min(), limits::max(),
               -limits::max(), limits::epsilon(), limits::infinity(), -limits::infinity(), limits::quiet_NaN()});
  }
}

void appendUtf8(std::string& text, std::uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xc0 | code >> 6);
    text += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xe0 | code >> 12);
    text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
    text += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    text += static_cast<char>(0xf0 | (code >> 18 & 0x07));
    text += static_cast<char>(0x80 | (code >> 12 & 0x3f));
    text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
    text += static_cast<char>(0x80 | (code & 0x3f));
  }
}

// Text of characters from every range: ASCII with NUL and the control
// characters, two- and three-byte ones (surrogates and noncharacters among
// them), ones beyond the basic plane and beyond U+10FFFF, and stray bytes.
std::string text(fuzz::Choices& in) {
  std::string text;
  for (std::size_t pieces = in.below(12); pieces-- > 0;) {
    switch (in.below(6)) {
      case 0: appendUtf8(text, in.byte() & 0x7f); break;
      case 1: appendUtf8(text, 0x80 + raw<std::uint16_t>(in) % 0x780); break;
      case 2: appendUtf8(text, 0x800 + raw<std::uint16_t>(in) % 0xf800); break;
      case 3: appendUtf8(text, pick<std::uint32_t>(in, {0xd800, 0xdfff, 0xfeff, 0xfffe, 0xffff, 0xfffd})); break;
      case 4: appendUtf8(text, 0x10000 + raw<std::uint32_t>(in) % 0x100100); break;
      default: text += static_cast<char>(in.byte()); break;
    }
  }
  return text;
}

Value anyValue(fuzz::Choices& in, int depth) {
  switch (static_cast<Kind>(in.below(kKinds))) {
    case kBoolean: return Value(in.below(2) == 1);
    case kInteger: return Value(integer(in));
    case kUnsigned: return Value(unsignedAboveSigned(in));
    case kReal: return Value(real<double>(in));
    case kFloat: return Value(real<float>(in));
    case kString: return Value(text(in));
    case kData: {
      std::string bytes = in.bytes(in.below(32));
      return Value(Data(bytes.begin(), bytes.end()));
    }
    case kDate: return Value(Date{real<double>(in)});
    case kUid: return Value(Uid{raw<std::uint64_t>(in)});
    case kArray: {
      Array array;
      for (std::size_t count = depth < kDeepest ? in.below(kMostElements) : 0; count-- > 0;)
        array.push_back(anyValue(in, depth + 1));
      return Value(std::move(array));
    }
    case kDictionary: {
      Dictionary dictionary;
      for (std::size_t count = depth < kDeepest ? in.below(kMostElements) : 0; count-- > 0;) {
        std::string key = text(in);
        dictionary.set(key, anyValue(in, depth + 1));
      }
      return Value(std::move(dictionary));
    }
  }
  std::abort();  // every kind below kKinds has its case
}

// Whether anywhere in the value a string or a key is not UTF-8, a keyed
// archive's reference stands, or a date lies beyond the years 1 and 4001 of
// either Foundation: what no object holds.
bool holdsWhatNoObjectHolds(const Value& value) {
  if (const std::string* string = value.get<std::string>()) return !platform::isValidUtf8(*string);
  if (value.is<Uid>()) return true;
  if (const Date* date = value.get<Date>()) return !(std::fabs(date->secondsSince2001) < 63113904000.0);
  if (const Array* array = value.get<Array>())
    for (const Value& element : *array)
      if (holdsWhatNoObjectHolds(element)) return true;
  if (const Dictionary* dictionary = value.get<Dictionary>())
    for (const auto& entry : dictionary->entries())
      if (!platform::isValidUtf8(entry.key) || holdsWhatNoObjectHolds(entry.value)) return true;
  return false;
}

// Shows what was made, and what came back of it, before a check on them fails.
void show(const Value& made, const std::optional<Value>& back) {
  std::fprintf(stderr, "made:      %s\n", fuzz::exactText(made).c_str());
  if (back) std::fprintf(stderr, "came back: %s\n", fuzz::exactText(*back).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Choices in(data, size);
  const Value value = anyValue(in, 0);

  platform::Object object = platform::objectOf(value);
  if (!object) {
    bool noObjectHoldsIt = holdsWhatNoObjectHolds(value);
    if (!noObjectHoldsIt) show(value, std::nullopt);
    FUZZ_CHECK(noObjectHoldsIt, "objectOf refused a value that an object can hold");
    return 0;
  }
  std::optional<Value> back = platform::valueOf(object.get());
  bool same = back && fuzz::identical(*back, value, fuzz::KeyOrder::kAny);
  if (!same) show(value, back);
  FUZZ_CHECK(back.has_value(), "valueOf refused the object objectOf made");
  FUZZ_CHECK(same, "a value changed on its way through an object and back");
  return 0;
}
