// indicator: lists the status-bar images SpringBoard ships, and adds, removes
// or shows for three seconds status-bar items, one option after another in
// command-line order. Every run ends with status 0, unless SpringBoard
// services cannot be reached at all.

#include <cstdlib>

#include "bindings/springboard_services.h"
#include "tools/indicator/command_line.h"
#include "tools/indicator/icon_listing.h"

using namespace indicator;

namespace {

// Adds the status-bar item; the name goes as typed, whether or not SpringBoard
// has an image for it.
void indicator(const char* name) { sbs::addStatusBarItem(name); }

// Removes the status-bar item.
void rbar(const char* name) { sbs::removeStatusBarItem(name); }

void carryOut(const Step& step) {
  switch (step.action) {
    case Action::show: indicator(step.name); break;
    case Action::remove: rbar(step.name); break;
    case Action::showBriefly:
      indicator(step.name);
      std::system("sleep 3");  // its outcome does not matter: the item goes either way
      rbar(step.name);
      break;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1) usage(argv[0]);  // exits with 0
  CommandLine line = parseCommandLine(argc, argv);
  for (const Step& step : line.steps) carryOut(step);
  switch (line.ending) {
    case Ending::listing: list_icons();  // exits with 0
    case Ending::stopped: std::exit(0);
    case Ending::finished: break;
  }
  if (line.steps.empty()) usage(argv[0]);
  return 0;
}
