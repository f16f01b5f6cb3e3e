#pragma once

// The command line of homeprefs: options first, scanned in command-line order,
// then the key.

#include <optional>
#include <string>
#include <variant>

#include "platform/plist/plist.h"

namespace homeprefs {

enum class Action { show, set, remove };

// One run's request. Each option only overwrites what an earlier one left: the
// last value option fixes the value, and the last of -r and the value options
// fixes the action.
struct Request {
  Action action = Action::show;
  // The value of the last value option, or why its argument could not become
  // one (a number out of range, text that is not 7-bit ASCII).
  std::optional<platform::plist::Value> value;
  std::optional<std::string> valueProblem;
  const char* key = nullptr;
};

// -l was met: the whole dictionary is printed and nothing after it counts.
struct ListRequest {};
// A letter outside the option string, or a value option with no value left.
struct BadOption {
  int letter;
};
// The options used up every argument.
struct MissingKey {};

using CommandLine = std::variant<Request, ListRequest, BadOption, MissingKey>;

// Scans the options with getopt from where optind stands, never reordering.
CommandLine parseCommandLine(int argc, char* argv[]);

// Why text cannot become a string for the file, or nothing: text that is not
// 7-bit ASCII, or that holds a control character XML cannot carry. what names
// it in the reason ("key", "value").
std::optional<std::string> textProblem(const char* what, const char* text);

// The bad-option message on standard error: the letter itself when it is
// printable, its code in hexadecimal otherwise.
void reportBadOption(int letter);

}  // namespace homeprefs
