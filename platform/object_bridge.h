#pragma once

// The bridge between the device's Foundation objects and the kit's property
// list values: objects the device hands over (an icon state, a Wi-Fi scan)
// become values, and values the objects it takes (a preference key, a URL).
// Callers own what the functions answer; each runs in an autorelease pool of
// its own, so it may be called where the caller has none.

#include <objc/objc.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/plist/plist.h"

namespace platform {

struct ObjectRelease {
  void operator()(objc_object* object) const;
};
// An object the caller owns (one retain), released when it goes.
using Object = std::unique_ptr<objc_object, ObjectRelease>;

// The value of a property-list object (dictionary, array, string, number,
// boolean, data, date), a dictionary's keys sorted. Nothing for nil, for any
// other object or a key that is no string, and for collections nested deeper
// than kMaximumObjectDepth or holding more than kMaximumObjectCount objects
// in all (so a collection that holds itself ends).
std::optional<plist::Value> valueOf(id object);
inline constexpr int kMaximumObjectDepth = 512;
inline constexpr long kMaximumObjectCount = 1'000'000;

// A new property-list object holding value; null when it nests deeper than
// kMaximumObjectDepth or Foundation has no object for a part (text that is not
// UTF-8, a keyed archive's reference, a date beyond the distant past or future).
Object objectOf(const plist::Value& value);

// A new string object of UTF-8 text; null when the text is not UTF-8.
Object stringObject(std::string_view utf8);
// The UTF-8 text of a string object; nothing for nil or another object.
std::optional<std::string> utf8Text(id string);

// A new URL object of text; null when the text is not a URL.
Object urlObject(std::string_view text);

// An autorelease pool for the scope it lives in: objects handed out under
// the device's Get rule (the caller does not own them) live until it goes.
class AutoreleasePool {
 public:
  AutoreleasePool();
  ~AutoreleasePool();
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;

 private:
  id pool_;
};

}  // namespace platform
