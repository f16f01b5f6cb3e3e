#pragma once

// Which processes an extension asks to be loaded into: the "Filter" of the
// property list beside it, read as the device's substrate reads it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/plist/plist.h"

namespace substrate {

// What the loader knows about the process it runs in.
struct Process {
  // The process's bundle and those of the frameworks it has loaded.
  std::vector<std::string> bundles;
  std::string executable;                            // "SpringBoard"
  double coreFoundationVersion;                      // 478.52 on iPhone OS 3.1
  std::function<bool(const std::string&)> hasClass;  // a class of that name is defined
};

// The versions [min, max) of "CoreFoundationVersion"; no max, no bound above.
struct VersionRange {
  double min;
  std::optional<double> max;
};

// The criteria of a filter; a list that the plist does not name is absent,
// which is not the same as present and empty (that matches nothing).
struct Filter {
  std::optional<VersionRange> coreFoundationVersion;
  std::optional<std::vector<std::string>> executables;
  std::optional<std::vector<std::string>> bundles;
  std::optional<std::vector<std::string>> classes;
  bool anyMode = false;  // "Mode" is "Any": one of the lists is enough
};

// Reads the filter out of a whole filter plist. A plist without "Filter"
// gives a filter with no criteria; unknown keys are ignored. Nothing when a
// value has the wrong shape, with the reason in *why ("Bundles is not a list
// of strings").
std::optional<Filter> parseFilter(const platform::plist::Value& plist, std::string* why);

// Nothing when the filter takes the process; otherwise what did not match:
// the first key, in the order CoreFoundationVersion, Executables, Bundles,
// Classes, or "Mode Any" when none of the lists did. The version must hold
// whatever the mode; every other key present must match, unless the mode is
// Any, when one is enough.
std::optional<std::string> mismatch(const Filter& filter, const Process& process);

}  // namespace substrate
