#pragma once

// The command line of indicator: options only, carried out one after another
// in command-line order.

#include <vector>

namespace indicator {

enum class Action {
  show,        // -s: add the item
  remove,      // -r: remove the item
  showBriefly  // -t: add the item, wait three seconds, remove it
};

struct Step {
  Action action;
  const char* name;  // the item name exactly as typed
};

enum class Ending {
  // The options ran out: usage when no step came before, otherwise done.
  finished,
  // -l: the listing, and nothing after it counts.
  listing,
  // -b, a letter outside the option string or a missing value: the run ends
  // silently; the steps before it stand.
  stopped,
};

struct CommandLine {
  std::vector<Step> steps;
  Ending ending = Ending::finished;
};

// Scans the options with getopt from where optind stands, never reordering,
// and stops at the first operand, after "--", or at the option that ends the run.
CommandLine parseCommandLine(int argc, char* argv[]);

}  // namespace indicator
