// The property-list reader on hostile bytes, XML or binary: reading never
// crashes, hangs or expands a small input into a huge tree, and whatever reads
// is written out as XML that reads back as the same values and writes out the
// same again.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/plist/plist.h"

namespace {

using namespace platform::plist;

// A tree read from an input may hold this many values per byte of it, plus a
// fixed allowance for small inputs. A file that is not shared with itself
// needs at least a byte per value; only references to one collection from
// many places (a binary list's shared objects) multiply beyond that.
constexpr std::size_t kValuesPerByte = 64;
constexpr std::size_t kValuesAllowance = 100000;

// Walked without recursion: the tree may be as deep as the reader lets it be.
template <class Visit>
void forEachValue(const Value& root, Visit visit) {
  std::vector<const Value*> pending{&root};
  while (!pending.empty()) {
    const Value* value = pending.back();
    pending.pop_back();
    visit(*value);
    if (auto array = value->get<Array>())
      for (const Value& element : *array) pending.push_back(&element);
    else if (auto dictionary = value->get<Dictionary>())
      for (const auto& entry : dictionary->entries()) pending.push_back(&entry.value);
  }
}

std::size_t valueCount(const Value& root) {
  std::size_t count = 0;
  forEachValue(root, [&](const Value&) { ++count; });
  return count;
}

bool holdsNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// A real XML writes as something else: -0, which it writes as 0.
template <class Real>
bool isMinusZero(Real r) {
  return r == 0 && std::signbit(r);
}

// True when XML can carry the tree exactly: no NaN (which equals nothing, not
// even itself), no -0, no text with a NUL in it, dates on a whole second, and
// no keyed archive's reference (written as a "CF$UID" dictionary, which reads
// back as a dictionary).
bool xmlCarriesExactly(const Value& root) {
  bool exact = true;
  forEachValue(root, [&](const Value& value) {
    if (auto d = value.get<double>()) exact = exact && !std::isnan(*d) && !isMinusZero(*d);
    if (auto f = value.get<float>()) exact = exact && !std::isnan(*f) && !isMinusZero(*f);
    if (auto s = value.get<std::string>()) exact = exact && !holdsNul(*s);
    if (auto date = value.get<Date>()) exact = exact && std::trunc(date->secondsSince2001) == date->secondsSince2001;
    exact = exact && !value.is<Uid>();
    if (auto dictionary = value.get<Dictionary>())
      for (const auto& entry : dictionary->entries()) exact = exact && !holdsNul(entry.key);
  });
  return exact;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<Value> value = parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!value) return 0;
  FUZZ_CHECK(valueCount(*value) <= kValuesPerByte * size + kValuesAllowance, "a small input read into a huge tree");

  std::string xml = toXml(*value);
  if (xml.empty()) return 0;  // a value the writer refuses: too deep, a control character, a date beyond 9999
  std::optional<Value> again = parse(xml);
  FUZZ_CHECK(again.has_value(), "the XML written for what was read does not read back");
  FUZZ_CHECK(toXml(*again) == xml, "the XML written for what was read changes when read and written again");
  if (xmlCarriesExactly(*value)) {
    FUZZ_CHECK(*again == *value, "writing as XML changed a value");
    FUZZ_CHECK(description(*again) == description(*value), "writing as XML changed how a value prints");
  }
  return 0;
}
