#include "platform/device_path.h"

#include <cstdlib>

#include "platform/built_in_root.h"

namespace platform {

std::filesystem::path deviceRoot() {
  const char* root = std::getenv("SBKIT_ROOT");
  if (root && *root) return root;
  return builtInDeviceRoot();
}

std::filesystem::path hostPath(std::string_view devicePath) {
  std::filesystem::path inside;
  for (const auto& part : std::filesystem::path(devicePath).lexically_normal().relative_path()) {
    if (part == "..") continue;  // only possible at the front once normalised
    inside /= part;
  }
  std::filesystem::path host = deviceRoot() / inside;
  // Keep a trailing separator: callers name folders as "/var/mobile/Applications/".
  if (devicePath.size() > 1 && devicePath.back() == '/') host /= "";
  return host;
}

}  // namespace platform
