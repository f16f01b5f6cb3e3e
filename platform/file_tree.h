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

// Calls visit with every entry below the device folder root, each once, as a
// path relative to it ("GUID/MyApp.app/Info.plist"), depth first and each
// folder in its own order; links are reported, never followed. The walk stops
// when visit returns false; a missing or unreadable root has no entries. It
// holds about twenty descriptors however deep the tree. A folder it may not
// open is skipped in silence, one it cannot open or read for another reason
// with a line such as "iconcount: cannot open /var/mobile/Applications/X/Gone:
// No such file or directory".
void walkTree(std::string_view root, const std::function<bool(std::string_view relativePath)>& visit);

}  // namespace platform
