#pragma once

// The file side of property lists, shared by the value reader and the
// document: bytes in without blocking and within the size cap, bytes out
// atomically.

#include <optional>
#include <string>
#include <string_view>

#include "platform/plist.h"

namespace platform::plist {

// The whole file, when it is a regular file of at most kMaxFileSize bytes;
// otherwise nothing, with the reason in *why.
std::optional<std::string> readFileBytes(const std::string& hostPath, std::string* why);

// Writes the bytes to the device path as write() does.
WriteResult writeBytes(std::string_view devicePath, std::string_view bytes, std::optional<Owner> owner);

}  // namespace platform::plist
