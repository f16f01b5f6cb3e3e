#pragma once

// The command line of radio: one argument, "y" or "n" by convention.

namespace radio {

// The airplane mode an argument asks for: 1 (on) when it begins with "Y" once
// upper-cased, so "y", "Yes" and "yellow" alike; 0 (off) for anything else,
// the empty argument and one with a blank before the "y" included.
signed char airplaneMode(const char* argument);

}  // namespace radio
