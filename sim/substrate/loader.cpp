#include "loader.h"

#include <dlfcn.h>
#include <objc/runtime.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "filter.h"
#include "images.h"
#include "platform/device_path.h"
#include "platform/plist.h"

namespace substrate {

namespace {

namespace fs = std::filesystem;

// The library names of the folder, sorted; none when there is no folder.
std::vector<std::string> libraryNames() {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(platform::hostPath(kExtensionsFolder), error), end; !error && it != end;
       it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() == ".dylib" && it->is_regular_file(error)) found.push_back(path.filename().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// dlerror names the host file; messages show the device path instead.
std::string withDevicePath(std::string text, const std::string& hostFile, const std::string& deviceFile) {
  for (std::size_t at = text.find(hostFile); at != std::string::npos; at = text.find(hostFile, at + deviceFile.size()))
    text.replace(at, hostFile.size(), deviceFile);
  return text;
}

// Whether the library should be opened here; warns when its filter is unusable.
bool wanted(const std::string& library, const std::string& stem, const Process& process) {
  std::string filterPath = std::string(kExtensionsFolder) + stem + ".plist";
  std::error_code error;
  if (!fs::exists(platform::hostPath(filterPath), error)) return true;
  std::optional<platform::plist::Value> plist = platform::plist::read(filterPath);
  if (!plist) {
    std::fprintf(stderr, "MS:Warning: skipping %s: cannot read filter %s\n", library.c_str(), filterPath.c_str());
    return false;
  }
  std::optional<Filter> filter = parseFilter(*plist);
  if (!filter) {
    std::fprintf(stderr, "MS:Warning: skipping %s: filter %s is not a dictionary of name lists\n", library.c_str(),
                 filterPath.c_str());
    return false;
  }
  return matches(*filter, process);
}

}  // namespace

std::vector<std::string> loadExtensions(std::string_view bundleIdentifier, std::string_view executableName) {
  noteProcess(bundleIdentifier, executableName);
  Process process{std::string(bundleIdentifier), std::string(executableName),
                  [](const std::string& name) { return objc_getClass(name.c_str()) != Nil; }};
  std::vector<std::string> loaded;
  for (const std::string& name : libraryNames()) {
    std::string library = std::string(kExtensionsFolder) + name;
    if (!wanted(library, fs::path(name).stem().string(), process)) continue;
    std::string host = platform::hostPath(library).string();
    if (dlopen(host.c_str(), RTLD_LAZY | RTLD_GLOBAL) == nullptr) {
      const char* reason = dlerror();
      std::fprintf(stderr, "MS:Warning: cannot load %s: %s\n", library.c_str(),
                   withDevicePath(reason ? reason : "unknown error", host, library).c_str());
      continue;
    }
    loaded.push_back(library);
  }
  return loaded;
}

}  // namespace substrate
