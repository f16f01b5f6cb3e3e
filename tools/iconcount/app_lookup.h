#pragma once

// Application lookup: display names to bundle paths and identifiers, and the
// listing of user applications. Stock applications are answered from a
// built-in table without touching the disk; any other name is looked for in
// the stock applications folder, then by a deep walk of the user
// applications, which prints a notice first because it can take long.

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
