#pragma once

// What a property list may cost before it is built: checked on the bytes, so
// that a hostile file is refused before the parser spends time or memory on it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/plist.h"

namespace platform::plist {

// Why the bytes must not be parsed, or nothing when they are within budget:
// nesting deeper than kMaxDepth; a binary list whose shared references would
// expand to more values than the file has bytes (an unshared tree spends at
// least a byte on every value: its reference, or its tag in XML), or that
// refers to itself; a dictionary key holding a NUL character (the parser cannot
// hand such a key back); a NUL byte in XML, which XML never holds. Bytes that
// are not a property list pass: the parser refuses them itself.
// *cutAtNul, when given, is set when a binary list holds 8-bit text with a
// NUL inside: the parser keeps such text only up to the NUL, so the tree is
// not the file.
std::optional<std::string> budgetProblem(std::string_view bytes, bool* cutAtNul = nullptr);

}  // namespace platform::plist
