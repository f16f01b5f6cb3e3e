#pragma once

#include <cstdint>

namespace iconcount {

// Prints the three forms of the command line and exits with status 255.
[[noreturn]] void usage(const char* programName);

// Sets the numeric badge of an application's icon through SpringBoard.
void setBadgeCount(const char* bundleId, std::int32_t number);

}  // namespace iconcount
