// indicator: lists the status-bar images SpringBoard ships, and adds, removes
// or shows for three seconds status-bar items, one option after another in
// command-line order. Every run ends with status 0, unless SpringBoard
// services cannot be reached at all.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bindings/frameworks.h"
#include "tools/indicator/command_line.h"
#include "tools/indicator/icon_listing.h"

using namespace indicator;

namespace {

// Even the usage text is no failure.
constexpr int kUsageStatus = 0;

[[noreturn]] void usage(const char* programName) {
  std::printf("%s [options]\n", programName);
  std::puts("-l          List the available status bar icons and exit");
  std::puts("-s icon     Set a status bar icon");
  std::puts("-r icon     Remove a status bar icon");
  std::puts("-t icon     Check icon for 3 seconds, then remove");
  std::exit(kUsageStatus);
}

// The owner every status-bar item is added under.
constexpr char kStatusBarOwner[19] = "com.tovek.SlimDemo";

// Adds the item, named as typed, through UIKit, which stays loaded for the
// rest of the run as the device's tools leave it.
void addStatusBarItem(const char* name) {
  bindings::Framework uikit = bindings::Framework::openOrExit(bindings::kUIKitPath);
  std::uint32_t port = SBKIT_ENTRY_POINT(uikit, SBSSpringBoardServerPort)();
  // The owner goes in a buffer of the caller's, as on the device: a copy of
  // its 19 bytes, so nothing done with the buffer reaches the constant.
  char owner[sizeof kStatusBarOwner];
  std::memcpy(owner, kStatusBarOwner, sizeof owner);
  SBKIT_ENTRY_POINT(uikit, SBAddStatusBarItem)(port, owner, name);
  uikit.keepOpen();
}

// Removes the item through UIKit, which stays loaded. The name fills all three
// places after the port, as on the device: whichever SpringBoard reads holds it.
void removeStatusBarItem(const char* name) {
  bindings::Framework uikit = bindings::Framework::openOrExit(bindings::kUIKitPath);
  std::uint32_t port = SBKIT_ENTRY_POINT(uikit, SBSSpringBoardServerPort)();
  SBKIT_ENTRY_POINT(uikit, SBRemoveStatusBarItem)(port, name, name, name);
  uikit.keepOpen();
}

void carryOut(const Step& step) {
  switch (step.action) {
    case Action::show: addStatusBarItem(step.name); break;
    case Action::remove: removeStatusBarItem(step.name); break;
    case Action::showBriefly:
      addStatusBarItem(step.name);
      std::system("sleep 3");  // its outcome does not matter: the item goes either way
      removeStatusBarItem(step.name);
      break;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1) usage(argv[0]);
  CommandLine line = parseCommandLine(argc, argv);
  for (const Step& step : line.steps) carryOut(step);
  switch (line.ending) {
    case Ending::listing: printStatusBarImages();
    case Ending::stopped: std::exit(0);
    case Ending::finished: break;
  }
  if (line.steps.empty()) usage(argv[0]);
  return 0;
}
