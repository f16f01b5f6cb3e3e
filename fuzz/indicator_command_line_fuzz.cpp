// The indicator command line from any argument vector (the input's bytes split
// at each NUL), checked against a plain scan of the same arguments: the steps
// in command-line order with their names exactly as typed (the very bytes of
// the argument vector), and the run ended by -l, -b or a bad option where
// they stand.

#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tests/support/argument_vector.h"
#include "tools/indicator/command_line.h"

namespace {

using namespace indicator;

CommandLine scan(int argc, char* argv[]) {
  CommandLine expected;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--" || argument.size() < 2 || argument[0] != '-') break;
    for (std::size_t at = 1; at < argument.size(); ++at) {
      char letter = argument[at];
      if (letter == 'l') {
        expected.ending = Ending::listing;
        return expected;
      }
      if (std::string_view("srtb").find(letter) == std::string_view::npos) {
        expected.ending = Ending::stopped;
        return expected;
      }
      const char* name = nullptr;
      if (at + 1 < argument.size()) name = argv[i] + at + 1;
      else if (i + 1 < argc) name = argv[++i];
      if (!name || letter == 'b') {
        expected.ending = Ending::stopped;
        return expected;
      }
      expected.steps.push_back({letter == 's'   ? Action::show
                                : letter == 'r' ? Action::remove
                                                : Action::showBriefly,
                                name});
      break;
    }
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ArgumentVector arguments("indicator", fuzz::argumentsOf(data, size));
  CommandLine line = parseCommandLine(arguments.argc(), arguments.argv());
  CommandLine expected = scan(arguments.argc(), arguments.argv());

  FUZZ_CHECK(line.ending == expected.ending, "the run does not end where the options say");
  FUZZ_CHECK(line.steps.size() == expected.steps.size(), "other steps than the options give");
  for (std::size_t i = 0; i < line.steps.size(); ++i) {
    FUZZ_CHECK(line.steps[i].action == expected.steps[i].action, "a step does other than its option says");
    FUZZ_CHECK(line.steps[i].name == expected.steps[i].name, "an item name is not the argument as typed");
  }
  return 0;
}
