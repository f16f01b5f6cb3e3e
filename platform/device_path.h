#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The device's paths that more than one part of the kit names.
// SpringBoard's preferences.
inline constexpr const char* kSpringBoardPreferencesPath =
    "/private/var/mobile/Library/Preferences/com.apple.springboard.plist";
// The folders of the stock applications and of the user applications' containers.
inline constexpr const char* kStockApplicationsPath = "/Applications/";
inline constexpr const char* kUserApplicationsPath = "/var/mobile/Applications/";
// SpringBoard's bundle folder: its status-bar images and the pieces of its screen.
inline constexpr const char* kSpringBoardBundlePath = "/System/Library/CoreServices/SpringBoard.app/";

// The host folder standing for the device's "/": $SBKIT_ROOT when set, else
// the build's sample device in the build tree, "/" for an installed kit.
std::filesystem::path deviceRoot();

// The host path of a device path such as "/var/mobile/Applications/".
// ".." never climbs above the device root, as "/.." is "/" on the device.
std::filesystem::path hostPath(std::string_view devicePath);

}  // namespace platform
