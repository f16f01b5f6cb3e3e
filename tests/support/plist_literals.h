#pragma once

// Short spellings of property-list values for tests.

#include <initializer_list>
#include <utility>

#include "platform/plist/plist.h"

namespace plist_literals {

// Lists are built from Values: Array{Array{...}} would copy the inner list
// rather than hold it.
template <class... T>
platform::plist::Value list(T&&... elements) {
  return platform::plist::Value(platform::plist::Array{platform::plist::Value(std::forward<T>(elements))...});
}

inline platform::plist::Dictionary dictionary(
    std::initializer_list<std::pair<const char*, platform::plist::Value>> entries) {
  platform::plist::Dictionary result;
  for (const auto& [key, value] : entries) result.set(key, value);
  return result;
}

}  // namespace plist_literals
