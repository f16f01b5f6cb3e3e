#include "tools/radio/command_line.h"

namespace radio {

// Only ASCII letters are upper-cased, and no other character becomes a "Y".
signed char airplaneMode(const char* argument) { return argument[0] == 'y' || argument[0] == 'Y' ? 1 : 0; }

}  // namespace radio
