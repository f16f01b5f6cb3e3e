#include "tools/iconcount/app_lookup.h"

#include <unistd.h>

#include <array>

#include "platform/bundle.h"
#include "platform/device_path.h"
#include "platform/file_tree.h"
#include "platform/text.h"

namespace iconcount {
namespace {

using platform::kUserApplicationsPath;

struct StockApplication {
  std::string_view name;
  std::string_view bundlePath;
  std::string_view bundleId;
};

// Tested in order; the first row whose name matches wins.
constexpr std::array<StockApplication, 14> kStockApplications{{
    {"Photos", "/Applications/MobileSlideShow.app", "com.apple.mobileslideshow-Photos"},
    {"Camera", "/Applications/MobileSlideShow.app", "com.apple.mobileslideshow-Camera"},
    {"iPod", "/Applications/MobileMusicPlayer.app", "com.apple.mobileipod-MediaPlayer"},
    {"Music", "/Applications/MobileMusicPlayer.app", "com.apple.mobileipod-AudioPlayer"},
    {"Video", "/Applications/MobileMusicPlayer.app", "com.apple.mobileipod-VideoPlayer"},
    {"iTunes", "/Applications/MobileStore.app", "com.apple.MobileStore"},
    {"Mail", "/Applications/MobileMail.app", "com.apple.mobilemail"},
    {"Contacts", "/Applications/MobileAddressBook.app", "com.apple.MobileAddressBook"},
    {"iCal", "/Applications/MobileCal.app", "com.apple.mobilecal"},
    {"Notes", "/Applications/MobileNotes.app", "com.apple.mobilenotes"},
    {"Safari", "/Applications/MobileSafari.app", "com.apple.mobilesafari"},
    {"Timer", "/Applications/MobileTimer.app", "com.apple.mobiletimer"},
    {"Clock", "/Applications/MobileTimer.app", "com.apple.mobiletimer"},
    {"Settings", "/Applications/Preferences.app", "com.apple.Preferences"},
}};

const StockApplication* stockApplication(std::string_view name) {
  for (const auto& row : kStockApplications)
    if (platform::equalsIgnoringCase(row.name, name)) return &row;
  return nullptr;
}

bool isBundle(std::string_view relativePath) {
  // Nearly every entry of the walk is turned away on its last four bytes.
  constexpr std::string_view kEnding = ".app";
  if (relativePath.size() < kEnding.size() ||
      !platform::equalsIgnoringCase(relativePath.substr(relativePath.size() - kEnding.size()), kEnding))
    return false;
  return platform::equalsIgnoringCase(platform::pathExtension(relativePath), "app");
}

}  // namespace

std::optional<std::string> bundlePathOf(std::string_view name) {
  if (const auto* row = stockApplication(name)) return std::string(row->bundlePath);

  std::puts("Searching for application id (this can take some time)");
  std::fflush(stdout);  // the walk may take long: show the notice first
  std::string stockPath = platform::kStockApplicationsPath + std::string(name) + ".app";
  if (platform::fileExists(stockPath)) return stockPath;

  std::optional<std::string> found;
  platform::walkTree(kUserApplicationsPath, [&](std::string_view relativePath) {
    if (!isBundle(relativePath) || platform::displayNameOf(relativePath) != name) return true;
    found = kUserApplicationsPath + std::string(relativePath);
    return false;
  });
  return found;
}

std::optional<std::string> bundleIdOf(std::string_view name) {
  if (const auto* row = stockApplication(name)) return std::string(row->bundleId);
  auto path = bundlePathOf(name);
  if (!path) return std::nullopt;
  auto description = platform::bundleDescription(*path);
  if (!description) return std::nullopt;
  return platform::bundleIdentifier(*description);
}

void listUserApplications(std::FILE* out) {
  // On a terminal, a name could forge a row or drive the terminal itself; a
  // pipe or a file gets the bytes as they are.
  const bool onTerminal = isatty(fileno(out));
  auto shown = [&](std::string text) { return onTerminal ? platform::printableOnTerminal(text) : text; };
  std::fputs("User Applications:\n", out);
  platform::walkTree(kUserApplicationsPath, [&](std::string_view relativePath) {
    if (!isBundle(relativePath)) return true;
    auto description = platform::bundleDescription(kUserApplicationsPath + std::string(relativePath));
    if (!description) return true;
    std::string name = shown(std::string(platform::displayNameOf(relativePath)));
    std::string id = shown(platform::bundleIdentifier(*description).value_or(""));
    std::fprintf(out, "%20s\t%s\n", name.c_str(), id.c_str());
    return true;
  });
}

}  // namespace iconcount
