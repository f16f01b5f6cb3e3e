#pragma once

// Between the kit's values and libplist's trees, for the files of platform/
// that read and write property lists. Not for tools: they see Values only.

#include <plist/plist.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/plist.h"

namespace platform::plist {

using Node = std::unique_ptr<void, decltype(&plist_free)>;

// The one way bytes become a tree: the budget is checked on the bytes first,
// then libplist parses them. Null, with the reason in *why, when they are
// beyond a budget or not a property list. *cutAtNul as for budgetProblem.
Node parseTree(std::string_view bytes, std::string* why, bool* cutAtNul = nullptr);

// The value of a tree from parseTree (so no deeper than kMaxDepth, the depth
// that bounds this recursion), taking strings with their length so a NUL
// inside one is kept.
std::optional<Value> fromNode(plist_t node);
// A new tree for a value; the caller owns it.
plist_t toNode(const Value& value);

// Why a value must not be written, or nothing: arrays and dictionaries nested
// deeper than kMaxDepth, a string or key holding a control character that XML
// cannot carry, or a date that libplist cannot make (more than 68 years from
// 2001). Worked out without recursion, since such a value may be as
// deep as memory allows.
std::optional<std::string> whyUnwritable(const Value& value);

}  // namespace platform::plist
