// badge: puts a text badge on the home-screen icon of a stock application,
// named by its bundle folder in /Applications; no text takes the badge off.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bindings/frameworks.h"
#include "tools/badge/app_lookup.h"

namespace badge {
namespace {

constexpr int kUsageStatus = 255;
// An application that cannot be found ends the run as the usage does.
constexpr int kNotFoundStatus = 255;

[[noreturn]] void usage(const char* programName) {
  std::printf("%s application-name (badge)\n", programName);
  std::exit(kUsageStatus);
}

// Sets the text badge, the empty text included, through UIKit, which stays
// loaded for the rest of the run as the device's tools leave it.
void setTextBadge(const char* bundleId, const char* text) {
  bindings::Framework uikit = bindings::Framework::openOrExit(bindings::kUIKitPath);
  std::uint32_t port = SBKIT_ENTRY_POINT(uikit, SBSSpringBoardServerPort)();
  SBKIT_ENTRY_POINT(uikit, SBSetApplicationBadge)(port, bundleId, text);
  uikit.keepOpen();
}

}  // namespace
}  // namespace badge

using namespace badge;

int main(int argc, char* argv[]) {
  if (argc < 2) usage(argv[0]);
  const char* name = argv[1];
  std::optional<std::string> id = stockBundleId(name);
  if (!id) {
    std::printf("Error: Could not find application for %s\n", name);
    std::exit(kNotFoundStatus);
  }
  std::printf("attempting to badge %s\n", id->c_str());
  std::fflush(stdout);  // shown before SpringBoard is contacted
  setTextBadge(id->c_str(), argc > 2 ? argv[2] : "");
  return 0;
}
