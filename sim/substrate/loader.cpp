#include "loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "filter_file.h"
#include "images.h"
#include "platform/device_path.h"
#include "platform/object_bridge.h"

namespace substrate {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLibrarySuffix = ".dylib";

// dlerror names the host file; messages show the device path instead.
std::string withDevicePath(std::string text, const std::string& hostFile, const std::string& deviceFile) {
  for (std::size_t at = text.find(hostFile); at != std::string::npos; at = text.find(hostFile, at + deviceFile.size()))
    text.replace(at, hostFile.size(), deviceFile);
  return text;
}

// Why the dynamic linker would not open a library, as the loader says it:
// "undefined symbol NAME" for a symbol nothing defines, else its own words.
std::string openFailure(const std::string& host, const std::string& library) {
  const char* error = dlerror();
  std::string reason = withDevicePath(error ? error : "unknown error", host, library);
  constexpr std::string_view kUndefined = "undefined symbol: ";
  std::size_t at = reason.find(kUndefined);
  if (at == std::string::npos) return reason;
  std::string symbol = reason.substr(at + kUndefined.size());
  return "undefined symbol " + symbol.substr(0, symbol.find(','));
}

// dlopen as a call that may throw: the library's constructors run inside it,
// and an exception of theirs must pass on to the uncaught-exception handler.
// Called as declared (nothrow), the call would end the program in
// std::terminate instead, even for an Objective-C exception; read through a
// volatile pointer, it cannot be seen through.
void* (*volatile openLibrary)(const char*, int) = &dlopen;

// The outcome of a library before it is opened: nothing when it is to be
// opened, else "filtered out: KEY" or "failed: REASON".
std::optional<std::string> screen(const std::string& name, const Process& process) {
  std::string filterPath = std::string(kExtensionsFolder) + name + ".plist";
  std::error_code error;
  if (!fs::exists(platform::hostPath(filterPath), error)) return std::nullopt;
  std::string why;
  std::optional<platform::plist::Value> plist = readFilterFile(filterPath, &why);
  if (!plist) return "failed: cannot read " + filterPath + ": " + why;
  std::optional<Filter> filter = parseFilter(*plist, &why);
  if (!filter) return "failed: " + filterPath + ": " + why;
  if (std::optional<std::string> key = mismatch(*filter, process)) return "filtered out: " + *key;
  return std::nullopt;
}

}  // namespace

std::vector<std::string> extensionNames() {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(platform::hostPath(kExtensionsFolder), error), end; !error && it != end;
       it.increment(error)) {
    std::string file = it->path().filename().string();
    if (file.size() > kLibrarySuffix.size() && file.ends_with(kLibrarySuffix) && it->is_regular_file(error))
      found.push_back(file);
  }
  // Sorted by the whole file names, whose bytes the order is, then named without the suffix.
  std::sort(found.begin(), found.end());
  for (std::string& file : found) file.resize(file.size() - kLibrarySuffix.size());
  return found;
}

std::vector<Extension> loadExtensions(const Process& process, std::string_view program) {
  noteProcess(process.bundles.empty() ? "" : process.bundles.front(), process.executable);
  std::vector<Extension> extensions;
  for (const std::string& name : extensionNames()) {
    std::optional<std::string> outcome = screen(name, process);
    if (!outcome) {
      std::string library = std::string(kExtensionsFolder) + name + std::string(kLibrarySuffix);
      std::string host = platform::hostPath(library).string();
      // What the library's constructors leave autoreleased goes when it is loaded.
      platform::AutoreleasePool pool;
      outcome = openLibrary(host.c_str(), RTLD_NOW | RTLD_GLOBAL) ? "loaded" : "failed: " + openFailure(host, library);
    }
    if (outcome->starts_with("failed: "))
      std::fprintf(stderr, "%.*s: not loading %s: %s\n", static_cast<int>(program.size()), program.data(), name.c_str(),
                   outcome->c_str() + std::string_view("failed: ").size());
    extensions.push_back({name, std::move(*outcome)});
  }
  return extensions;
}

}  // namespace substrate
