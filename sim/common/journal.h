#pragma once

// The journal of the simulated device: every stand-in appends one line per
// call to "/private/var/sim/journal" under the device root, so tests and users
// can see what SpringBoard was asked to do.

#include <initializer_list>
#include <string_view>

namespace sim {

// Appends "<time>\t<call>\t<arg>..." as one line; backslash, tab, newline and
// other control bytes in the arguments are escaped.
void journal(std::string_view call, std::initializer_list<std::string_view> arguments = {});

}  // namespace sim
