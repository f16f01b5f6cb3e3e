#pragma once

// Application bundles: the bundle description ("Info.plist" directly inside the
// bundle folder) and the identifier it gives.

#include <optional>
#include <string>
#include <string_view>

#include "platform/plist/plist.h"

namespace platform {

// The bundle description of the bundle at a device path; nothing when it is
// missing, unreadable or not a dictionary.
std::optional<plist::Dictionary> bundleDescription(std::string_view bundlePath);

// The value of "CFBundleIdentifier"; nothing when the key is absent or its
// value is not a string, so an identifier is always text that can be sent.
std::optional<std::string> bundleIdentifier(const plist::Dictionary& description);

}  // namespace platform
