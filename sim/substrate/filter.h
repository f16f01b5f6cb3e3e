#pragma once

// Which processes an extension asks to be loaded into: the "Filter" of the
// property list beside it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/plist.h"

namespace substrate {

// What the loader knows about the process it runs in.
struct Process {
  std::string bundleIdentifier;  // "com.apple.springboard"
  std::string executableName;    // "SpringBoard"
  std::function<bool(const std::string&)> hasClass;  // a class of that name is defined
};

// The criteria of a filter; a list that the plist does not name is absent,
// which is not the same as present and empty (that matches nothing).
struct Filter {
  std::optional<std::vector<std::string>> bundles;
  std::optional<std::vector<std::string>> executables;
  std::optional<std::vector<std::string>> classes;
};

// Reads the filter out of a whole filter plist. A plist without "Filter"
// gives a filter with no criteria. Nothing when the shape is wrong: the top
// level or "Filter" not a dictionary, a criterion not a list of strings.
std::optional<Filter> parseFilter(const platform::plist::Value& plist);

// A filter without criteria matches every process; otherwise any criterion
// that names the process (its bundle, its executable, one of its classes)
// matches it.
bool matches(const Filter& filter, const Process& process);

}  // namespace substrate
