// iconcount: sets the badge number of an application's home-screen icon, the
// application named by display name or, after "id", by bundle identifier;
// "list" prints the user applications instead.

#include <err.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bindings/frameworks.h"
#include "platform/text.h"
#include "tools/iconcount/app_lookup.h"

using namespace iconcount;

namespace {

constexpr int kUsageStatus = 255;
// A number out of range or an application that cannot be found ends the run
// as the usage does.
constexpr int kRefusedStatus = 255;

// The three forms of the command line.
[[noreturn]] void usage(const char* programName) {
  std::printf("%s application-name (badge-number)\n", programName);
  std::printf("or\n%s id application-id (badge-number)\n", programName);
  std::printf("or\n%s list\n", programName);
  std::exit(kUsageStatus);
}

// The number argument, 0 when absent; a number out of range ends the run
// before anything is looked up or sent.
std::int32_t numberArgument(int argc, char* argv[], int index) {
  if (index >= argc) return 0;
  std::optional<std::int32_t> number = platform::int32LikeAtoi(argv[index]);
  if (!number) errx(kRefusedStatus, "badge number out of range (%d to %d): %s", INT32_MIN, INT32_MAX, argv[index]);
  return *number;
}

// Says what it sets, then sets the numeric badge of an application's icon
// through UIKit, which is closed again after the call.
int setBadge(const char* bundleId, std::int32_t number) {
  std::printf("Setting %s badge to %d\n", bundleId, number);
  std::fflush(stdout);  // shown before SpringBoard is contacted
  bindings::Framework uikit = bindings::Framework::openOrExit(bindings::kUIKitPath);
  std::uint32_t port = SBKIT_ENTRY_POINT(uikit, SBSSpringBoardServerPort)();
  SBKIT_ENTRY_POINT(uikit, SBSetApplicationBadgeNumber)(port, bundleId, number);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) usage(argv[0]);
  const char* first = argv[1];
  if (platform::equalsIgnoringCase(first, "list")) {
    listUserApplications();
    return 0;
  }
  if (platform::equalsIgnoringCase(first, "id")) {
    if (argc < 3) usage(argv[0]);
    return setBadge(argv[2], numberArgument(argc, argv, 3));
  }
  std::int32_t number = numberArgument(argc, argv, 2);
  std::optional<std::string> id = bundleIdOf(first);  // may print the search notice
  if (!id) {
    std::printf("Error: Could not find application for %s\n", first);
    std::exit(kRefusedStatus);
  }
  return setBadge(id->c_str(), number);
}
