#pragma once

#include <cstdint>
#include <optional>

namespace iconcount {

// Prints the three forms of the command line and exits with status 255.
[[noreturn]] void usage(const char* programName);

// Reads a badge number the way atoi does (leading blanks, an optional sign,
// then digits up to the first other character; no digits is 0). Nothing when
// the digits leave the signed 32-bit range.
std::optional<std::int32_t> badgeNumber(const char* text);

// Sets the numeric badge of an application's icon through SpringBoard.
void setBadgeCount(const char* bundleId, std::int32_t number);

}  // namespace iconcount
