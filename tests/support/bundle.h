#pragma once

// An application bundle for tests: its folder, made with the folders above
// it, holding an Info.plist.

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/plist/plist.h"

namespace test_support {

// The bytes of an Info.plist naming the executable App and, unless key is
// empty, holding value under key.
inline std::string infoWith(const std::string& key, platform::plist::Value value) {
  platform::plist::Dictionary info;
  info.set("CFBundleExecutable", platform::plist::Value("App"));
  if (!key.empty()) info.set(key, std::move(value));
  return platform::plist::toXml(platform::plist::Value(info));
}

// Makes the bundle folder at a host path with an Info.plist of infoBytes.
inline void bundleWithInfo(const std::filesystem::path& folder, const std::string& infoBytes) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Info.plist", std::ios::trunc) << infoBytes;
}

}  // namespace test_support
