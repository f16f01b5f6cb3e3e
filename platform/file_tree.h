#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// True when anything (file, folder, link) exists at the device path.
bool fileExists(std::string_view devicePath);

// The names of the entries directly in the device folder (files, folders and
// links alike, "." and ".." left out), in the order the folder lists them:
// nothing is sorted. A missing or unreadable folder has no entries.
std::vector<std::string> directoryContents(std::string_view devicePath);

// Calls visit with every entry below the device folder root, at any depth,
// each once, as a path relative to root ("GUID/MyApp.app/Info.plist"). Each
// folder's entries come in the order the folder lists them, and a folder's
// contents come right after it (depth first); bundles are descended into like
// any folder, and symbolic links are reported but never followed. The walk
// stops early when visit returns false. A missing or unreadable root yields
// no entries.
//
// The walk holds at most about twenty descriptors however deep the tree, so
// it never misses a folder for want of them. A folder it may not open
// (permission denied) is skipped in silence; one it cannot open or read for
// any other reason is skipped with a line on standard error, such as
// "iconcount: cannot open /var/mobile/Applications/X/Gone: No such file or directory".
void walkTree(std::string_view root, const std::function<bool(std::string_view relativePath)>& visit);

}  // namespace platform
