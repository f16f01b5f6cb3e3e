#include "tools/badge/app_lookup.h"

#include "platform/bundle.h"
#include "platform/device_path.h"

namespace badge {

std::optional<std::string> stockBundleId(std::string_view name) {
  if (name.find('/') != std::string_view::npos) return std::nullopt;
  auto description = platform::bundleDescription(platform::kStockApplicationsPath + std::string(name) + ".app");
  if (!description) return std::nullopt;
  return platform::bundleIdentifier(*description);
}

}  // namespace badge
