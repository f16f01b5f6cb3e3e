// The homeprefs command line from any argument vector (the input's bytes split
// at each NUL), checked against a plain scan of the same arguments by the
// rules the tool documents: options first, flags grouped, a value attached or
// next, scanning stopped by "--" or the first operand, never reordered.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tests/support/argument_vector.h"
#include "tools/homeprefs/command_line.h"

namespace {

using namespace homeprefs;
using platform::plist::Array;
using platform::plist::Value;

struct Expected {
  enum Kind { request, list, badOption, missingKey } kind = missingKey;
  int letter = 0;                   // badOption
  int keyIndex = 0;                 // request
  Action action = Action::show;     // request
  int valueLetter = 0;              // the last value option, 0 when none
  const char* valueText = nullptr;  // its argument
};

// Text a string may hold: 7-bit ASCII without the control characters XML
// cannot carry (those below 0x20 but tab, line feed and carriage return).
bool isStringText(std::string_view text) {
  for (unsigned char c : text)
    if (c > 0x7f || (c < 0x20 && c != '\t' && c != '\n' && c != '\r')) return false;
  return true;
}

Expected scan(int argc, char* argv[]) {
  Expected expected;
  const std::string_view valueOptions = "aifs";
  int i = 1;
  for (; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--") {
      ++i;
      break;
    }
    if (argument.size() < 2 || argument[0] != '-') break;
    for (std::size_t at = 1; at < argument.size(); ++at) {
      char letter = argument[at];
      if (valueOptions.find(letter) != std::string_view::npos) {
        const char* text = nullptr;
        if (at + 1 < argument.size()) text = argv[i] + at + 1;
        else if (i + 1 < argc) text = argv[++i];
        if (!text) return {Expected::badOption, letter};
        expected.action = Action::set;
        expected.valueLetter = letter;
        expected.valueText = text;
        break;
      }
      if (letter == '1' || letter == '0') {
        expected.action = Action::set;
        expected.valueLetter = letter;
      } else if (letter == 'r') {
        expected.action = Action::remove;
      } else if (letter == 'l') {
        return {Expected::list};
      } else {
        return {Expected::badOption, letter};
      }
    }
  }
  if (i >= argc) return {Expected::missingKey};
  expected.kind = Expected::request;
  expected.keyIndex = i;
  return expected;
}

// The value the last value option asks for, or nothing when its text cannot
// become one.
std::optional<Value> valueFor(int letter, const char* text) {
  switch (letter) {
    case '1': return Value(true);
    case '0': return Value(false);
    case 's': return isStringText(text) ? std::optional<Value>(Value(text)) : std::nullopt;
    case 'a': return isStringText(text) ? std::optional<Value>(Value(Array{Value(text)})) : std::nullopt;
    case 'i': {
      errno = 0;
      long long number = std::strtoll(text, nullptr, 10);
      if (errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return std::nullopt;
      return Value(static_cast<std::int64_t>(number));
    }
    default: {
      // Only what a single-precision float holds, and nothing infinite.
      double number = std::atof(text);
      if (!std::isfinite(number) || std::fabs(number) > FLT_MAX) return std::nullopt;
      return Value(static_cast<float>(number));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ArgumentVector arguments("homeprefs", fuzz::argumentsOf(data, size));
  CommandLine line = parseCommandLine(arguments.argc(), arguments.argv());
  Expected expected = scan(arguments.argc(), arguments.argv());

  switch (expected.kind) {
    case Expected::list:
      FUZZ_CHECK(std::holds_alternative<ListRequest>(line), "-l did not end the scan with the listing");
      return 0;
    case Expected::missingKey:
      FUZZ_CHECK(std::holds_alternative<MissingKey>(line), "no key is left but the scan did not say so");
      return 0;
    case Expected::badOption:
      FUZZ_CHECK(std::holds_alternative<BadOption>(line), "a bad option was not reported");
      FUZZ_CHECK(std::get<BadOption>(line).letter == expected.letter, "the bad option reported is not the one met");
      return 0;
    case Expected::request: break;
  }
  FUZZ_CHECK(std::holds_alternative<Request>(line), "the options were not taken as a request");
  const Request& request = std::get<Request>(line);
  FUZZ_CHECK(request.key == arguments.argv()[expected.keyIndex], "the key is not the first operand");
  FUZZ_CHECK(request.action == expected.action, "the last of -r and the value options did not fix the action");
  if (expected.valueLetter == 0) {
    FUZZ_CHECK(!request.value && !request.valueProblem, "a value appeared without a value option");
    return 0;
  }
  std::optional<Value> value = valueFor(expected.valueLetter, expected.valueText);
  FUZZ_CHECK(request.value.has_value() != request.valueProblem.has_value(), "neither a value nor a reason, or both");
  FUZZ_CHECK(value.has_value() == request.value.has_value(), "a value was refused or taken against its option's rule");
  if (value) {
    FUZZ_CHECK(*request.value == *value, "the value is not what the last value option says");
    FUZZ_CHECK(request.value->storage().index() == value->storage().index(), "the value is of the wrong kind");
  }
  return 0;
}
