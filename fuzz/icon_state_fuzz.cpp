// The icon-state pruning on generated states, checked against the plainest
// walk there is: every plain entry compared with every entry kept before it.
// The pruning must keep and drop exactly what that walk does, in the same
// places, and say so through droppedAny; a state of the wrong shape is
// refused by both.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "extensions/layoutkeeper/icon_lists.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/identical_values.h"

namespace {

using platform::plist::Array;
using platform::plist::Data;
using platform::plist::Date;
using platform::plist::Dictionary;
using platform::plist::Value;

constexpr const char* kIconLists = "iconLists";
constexpr const char* kButtonBar = "buttonBar";

// Builds an icon state from the input's choices. Plain entries come from small
// sets so that equal ones meet often, numbers from the values where integers
// and reals of the same value are hardest to tell apart.
class StateMaker {
 public:
  explicit StateMaker(fuzz::Choices& choices) : in_(choices) {}

  Dictionary state() {
    Dictionary state;
    for (std::size_t keys = in_.below(4); keys-- > 0;) {
      switch (in_.below(4)) {
        case 0: state.set(kButtonBar, page(0)); break;
        case 1: state.set(kIconLists, listOfPages(0)); break;
        case 2: state.set("iconListsVersion", plainEntry(0)); break;
        default: state.set(std::string(1, static_cast<char>('a' + in_.below(3))), plainEntry(0)); break;
      }
    }
    if (state.empty()) state.set(kIconLists, listOfPages(0));
    return state;
  }

 private:
  static constexpr int kDeepest = 6;

  // Now and then something of the wrong shape where a list is expected.
  bool misshapen() { return in_.below(32) == 0; }

  Value listOfPages(int depth) {
    if (misshapen()) return plainEntry(depth);
    Array pages;
    for (std::size_t count = in_.below(4); count-- > 0;) pages.push_back(page(depth));
    return pages;
  }

  Value page(int depth) {
    if (misshapen()) return plainEntry(depth);
    Array entries;
    for (std::size_t count = in_.below(8); count-- > 0 && !in_.empty();)
      entries.push_back(in_.below(6) == 0 && depth < kDeepest ? container(depth + 1) : plainEntry(depth));
    return entries;
  }

  Value container(int depth) {
    Dictionary folder;
    folder.set("displayName", Value(std::string(1, static_cast<char>('F' + in_.below(2)))));
    if (in_.below(4) != 0) folder.set(kIconLists, listOfPages(depth));
    if (in_.below(2) == 0) folder.set("listType", Value("folder"));
    return folder;
  }

  Value plainEntry(int depth) {
    static const std::int64_t kIntegers[] = {0,
                                             1,
                                             -1,
                                             std::int64_t{1} << 53,
                                             (std::int64_t{1} << 53) + 1,
                                             std::numeric_limits<std::int64_t>::max(),
                                             std::numeric_limits<std::int64_t>::min()};
    static const double kReals[] = {0.0,
                                    -0.0,
                                    1.0,
                                    0.5,
                                    9007199254740992.0,
                                    9223372036854775808.0,
                                    -9223372036854775808.0,
                                    1e300,
                                    std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN()};
    switch (in_.below(10)) {
      case 0:
      case 1:
      case 2: return Value(std::string("com.") + in_.bytes(in_.below(3)));
      case 3: return Value(std::int64_t{static_cast<std::int8_t>(in_.byte())} % 4);
      case 4: return Value(kIntegers[in_.below(std::size(kIntegers))]);
      case 5: return Value(kReals[in_.below(std::size(kReals))]);
      case 6: return Value(static_cast<float>(kReals[in_.below(std::size(kReals))]));
      case 7: return Value(in_.below(2) == 0);
      case 8: {
        std::string bytes = in_.bytes(in_.below(3));
        return in_.below(2) ? Value(Data(bytes.begin(), bytes.end())) : Value(Date{static_cast<double>(bytes.size())});
      }
      default: {
        // A list as a plain entry: equal when its elements are.
        Array list;
        for (std::size_t count = in_.below(3); count-- > 0 && depth < kDeepest;) list.push_back(plainEntry(depth + 1));
        return list;
      }
    }
  }

  fuzz::Choices& in_;
};

// The pruning as plainly as it can be said.
class ReferenceWalk {
 public:
  bool dropped = false;

  std::optional<Array> lists(const Value* lists) {
    Array result;
    if (lists == nullptr) return result;
    const Array* pages = lists->get<Array>();
    if (pages == nullptr) return std::nullopt;
    for (const Value& each : *pages) {
      std::optional<Array> kept = page(each);
      if (!kept) return std::nullopt;
      result.push_back(std::move(*kept));
    }
    return result;
  }

  std::optional<Array> page(const Value& page) {
    const Array* entries = page.get<Array>();
    if (entries == nullptr) return std::nullopt;
    Array kept;
    for (const Value& entry : *entries) {
      if (const Dictionary* folder = entry.get<Dictionary>()) {
        std::optional<Array> inner = lists(folder->find(kIconLists));
        if (!inner) return std::nullopt;
        kept.push_back(withIconLists(*folder, std::move(*inner)));
      } else if (seenBefore(entry)) {
        dropped = true;
      } else {
        seen_.push_back(&entry);
        kept.push_back(entry);
      }
    }
    return kept;
  }

  // The dictionary with value under key: in the key's place, or at the end.
  static Dictionary withIconLists(const Dictionary& dictionary, Value value) {
    Dictionary copy = dictionary;
    copy.set(kIconLists, std::move(value));
    return copy;
  }

 private:
  bool seenBefore(const Value& entry) const {
    for (const Value* earlier : seen_)
      if (*earlier == entry) return true;
    return false;
  }

  std::vector<const Value*> seen_;
};

std::optional<Dictionary> referencePruning(const Dictionary& state, bool& dropped) {
  ReferenceWalk walk;
  Dictionary result = state;
  if (const Value* bar = state.find(kButtonBar)) {
    std::optional<Array> kept = walk.page(*bar);
    if (!kept) return std::nullopt;
    result.set(kButtonBar, std::move(*kept));
  }
  if (const Value* lists = state.find(kIconLists)) {
    std::optional<Array> kept = walk.lists(lists);
    if (!kept) return std::nullopt;
    result.set(kIconLists, std::move(*kept));
  }
  dropped = walk.dropped;
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Choices choices(data, size);
  Dictionary state = StateMaker(choices).state();
  const Dictionary original = state;

  auto pruned = layoutkeeper::iconStateWithoutDuplicates(state);
  bool expectedDropped = false;
  std::optional<Dictionary> expected = referencePruning(state, expectedDropped);

  FUZZ_CHECK(fuzz::identical(Value(state), Value(original)), "the pruning changed the state it was given");
  FUZZ_CHECK(pruned.has_value() == expected.has_value(), "the pruning and the plain walk disagree on the shape");
  if (!pruned) return 0;
  FUZZ_CHECK(fuzz::identical(Value(pruned->state), Value(*expected)),
             "the pruning kept or dropped other entries than the plain walk");
  FUZZ_CHECK(pruned->droppedAny == expectedDropped, "droppedAny does not say whether entries were dropped");
  return 0;
}
