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
// each once, as a path relative to root ("GUID/MyApp.app/Info.plist"). Folders
// come before their contents and bundles are descended into like any folder;
// symbolic links are reported but never followed, and folders that cannot be
// read are skipped. The walk stops early when visit returns false. A missing
// or unreadable root yields no entries.
void walkTree(std::string_view root, const std::function<bool(std::string_view relativePath)>& visit);

}  // namespace platform
