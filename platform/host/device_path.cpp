// On this host a device path names a file under the device root; on the
// device a path is itself, and this file is not built.

#include "platform/device_path.h"

#include <cstdlib>
#include <string>

#include "platform/host/built_in_root.h"

namespace platform {

std::filesystem::path deviceRoot() {
  const char* root = std::getenv("SBKIT_ROOT");
  if (root && *root) return root;
  return builtInDeviceRoot();
}

std::filesystem::path hostPath(std::string_view devicePath) {
  // Put together by hand rather than with lexically_normal(): every bundle a
  // listing reads passes through here.
  std::string host = deviceRoot().string();
  if (host.back() != '/') host += '/';
  const std::size_t rootLength = host.size();
  // A trailing separator is kept: callers name folders as "/var/mobile/Applications/".
  bool endsInFolder = devicePath.empty() || devicePath.back() == '/';
  for (std::string_view rest = devicePath; !rest.empty();) {
    std::size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {  // never above the root, as "/.." is "/" on the device
      if (host.size() > rootLength) host.resize(host.find_last_of('/', host.size() - 2) + 1);
      continue;
    }
    host.append(part);
    host += '/';
  }
  std::string_view last = devicePath.substr(devicePath.find_last_of('/') + 1);
  if (!endsInFolder && last != "." && last != ".." && host.size() > rootLength) host.pop_back();
  return host;
}

}  // namespace platform
