#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The host folder that stands for the device's "/": $SBKIT_ROOT when set,
// otherwise the built-in root: the build's sample device for the programs in
// the build tree, "/" for an installed kit.
std::filesystem::path deviceRoot();

// The host path of a device path such as "/var/mobile/Applications/".
// ".." never climbs above the device root, as "/.." is "/" on the device.
std::filesystem::path hostPath(std::string_view devicePath);

}  // namespace platform
