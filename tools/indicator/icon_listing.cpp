#include "tools/indicator/icon_listing.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/device_path.h"
#include "platform/file_tree.h"
#include "platform/text.h"

namespace indicator {
namespace {

// The length of the status-bar prefix the name begins with; 0 for none.
std::size_t prefixLength(std::string_view name) {
  if (name.starts_with("Default_")) return 8;
  if (name.starts_with("FSO_")) return 4;
  return 0;
}

}  // namespace

std::string listingOf(const std::vector<std::string>& entryNames) {
  std::string listing;
  int printed = 1;
  for (const std::string& name : entryNames) {
    if (platform::pathExtension(name) != "png") continue;
    std::size_t prefix = prefixLength(name);
    if (prefix == 0) continue;
    std::string_view item = platform::displayNameOf(std::string_view(name).substr(prefix));
    std::size_t length = platform::utf16Length(item);
    listing += item;
    listing += '\t';
    if (length <= 7) listing += '\t';
    if (length <= 15) listing += '\t';
    if (printed % 3 == 0) listing += '\n';
    ++printed;
  }
  return listing + '\n';
}

void printStatusBarImages() {
  std::string listing = listingOf(platform::directoryContents(platform::kSpringBoardBundlePath));
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  std::exit(0);
}

}  // namespace indicator
