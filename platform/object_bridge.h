#pragma once

// The bridge between the device's Foundation objects and the kit's property
// list values. Where the device hands over an object (SpringBoard's icon
// state, a Wi-Fi scan) the kit converts it here; where the device takes one
// (a preference key, a URL) the kit makes it here. Callers in C++ hold
// objects only as id, and own what the functions below answer: an Object
// releases it when it goes.
//
// Every function runs in an autorelease pool of its own, so it may be called
// where the caller has none.

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

// The value of a property-list object: a dictionary, array, string, number,
// boolean, data or date, and whatever those hold. A dictionary's keys come
// out sorted, since an object keeps no order of its own. Nothing for nil,
// for anything else (an object of another class, a key that is not a
// string), and for collections nested deeper than kMaximumObjectDepth or
// holding more than kMaximumObjectCount objects in all (a collection that
// holds itself never ends).
std::optional<plist::Value> valueOf(id object);
inline constexpr int kMaximumObjectDepth = 512;
inline constexpr long kMaximumObjectCount = 1'000'000;

// A new property-list object holding value; null only when Foundation has
// no object for it (a string that is not UTF-8, a keyed archive's reference,
// a date beyond Foundation's distant past or future or that is no number) or
// it is nested deeper than kMaximumObjectDepth.
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
