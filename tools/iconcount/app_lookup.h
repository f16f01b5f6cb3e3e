#pragma once

// Display names to bundle paths and identifiers, and the user applications'
// listing. Stock applications come from a table; any other name is looked for
// in the stock folder, then by a walk of the user applications, after a notice.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace iconcount {

// The bundle path of the named application, or nothing.
std::optional<std::string> bundlePathOf(std::string_view name);
// The bundle identifier of the named application, or nothing when it cannot
// be found or its Info.plist gives none.
std::optional<std::string> bundleIdOf(std::string_view name);
// Prints "User Applications:" and one line per user application bundle whose
// Info.plist can be read, in walk order.
void listUserApplications(std::FILE* out = stdout);

}  // namespace iconcount
