#pragma once

// Reading a filter plist as the device's substrate reads it: XML, binary, or
// OpenStep text, which many packages ship.

#include <optional>
#include <string>
#include <string_view>

#include "platform/plist/plist.h"

namespace substrate {

// The property list at a device path; nothing when it cannot be read, with
// the reason in *why. OpenStep text is read by Foundation's reader, within
// the same budgets as the kit's own reader: the file's size, the depth of
// its nesting and the number of its objects.
std::optional<platform::plist::Value> readFilterFile(std::string_view devicePath, std::string* why);

}  // namespace substrate
