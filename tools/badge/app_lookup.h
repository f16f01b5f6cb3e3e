#pragma once

// The stock application a badge goes on: named by its bundle folder directly
// in the stock applications folder, without ".app". There is no table of
// display names and no search anywhere else.

#include <optional>
#include <string>
#include <string_view>

namespace badge {

// The bundle identifier from "/Applications/<name>.app/Info.plist"; nothing
// when that gives none, or for a name with a "/", which could reach a bundle
// outside the stock applications folder.
std::optional<std::string> stockBundleId(std::string_view name);

}  // namespace badge
