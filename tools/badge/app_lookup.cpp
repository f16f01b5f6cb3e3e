#include "tools/badge/app_lookup.h"

#include "platform/bundle.h"

namespace badge {

std::optional<std::string> appid(std::string_view name) {
  if (name.find('/') != std::string_view::npos) return std::nullopt;
  auto description = platform::bundleDescription(kStockApplications + std::string(name) + ".app");
  if (!description) return std::nullopt;
  return platform::bundleIdentifier(*description);
}

}  // namespace badge
