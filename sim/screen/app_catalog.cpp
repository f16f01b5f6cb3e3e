#include "app_catalog.h"

#include <algorithm>
#include <vector>

#include "platform/bundle.h"
#include "platform/device_path.h"
#include "platform/file_tree.h"
#include "platform/text.h"

namespace screen {

namespace {

using platform::kStockApplicationsPath;
using platform::kUserApplicationsPath;
using platform::plist::Dictionary;

bool isBundleName(std::string_view name) { return platform::equalsIgnoringCase(platform::pathExtension(name), "app"); }

std::vector<std::string> sortedContents(std::string_view folder) {
  std::vector<std::string> names = platform::directoryContents(folder);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

AppCatalog AppCatalog::scan() {
  AppCatalog catalog;
  for (const std::string& name : sortedContents(kStockApplicationsPath))
    if (isBundleName(name)) catalog.add(kStockApplicationsPath + name);
  for (const std::string& container : sortedContents(kUserApplicationsPath)) {
    std::string folder = kUserApplicationsPath + container + "/";
    for (const std::string& name : sortedContents(folder))
      if (isBundleName(name)) catalog.add(folder + name);
  }
  return catalog;
}

// A description that is a pipe or a device is passed over: the platform's
// reader takes only a regular file, and never waits.
void AppCatalog::add(const std::string& bundlePath) {
  std::optional<Dictionary> description = platform::bundleDescription(bundlePath);
  if (!description) return;
  std::optional<std::string> identifier = platform::bundleIdentifier(*description);
  if (!identifier || bundles_.count(*identifier)) return;
  Bundle bundle{bundlePath, {}};
  const std::string* name = description->get<std::string>("CFBundleDisplayName");
  if (!name) name = description->get<std::string>("CFBundleName");
  bundle.app.displayName = name ? *name : std::string(platform::displayNameOf(bundlePath));
  bundle.app.iconPath = bundlePath + "/Icon.png";
  bundle.app.launchImagePath = bundlePath + "/Default.png";
  bundle.app.prerenderedIcon = description->isTrue("UIPrerenderedIcon");
  bundles_.emplace(std::move(*identifier), std::move(bundle));
}

std::optional<AppInfo> AppCatalog::find(std::string_view identifier) const {
  if (auto found = bundles_.find(identifier); found != bundles_.end()) return found->second.app;
  std::size_t dash = identifier.rfind('-');
  if (dash == std::string_view::npos || dash + 1 == identifier.size()) return std::nullopt;
  auto found = bundles_.find(identifier.substr(0, dash));
  if (found == bundles_.end()) return std::nullopt;
  std::string role(identifier.substr(dash + 1));
  AppInfo app = found->second.app;
  app.displayName = role;
  std::string roleIcon = found->second.path + "/Icon-" + role + ".png";
  // A role is a name, never a path out of the bundle.
  if (role.find('/') == std::string::npos && platform::fileExists(roleIcon)) app.iconPath = roleIcon;
  return app;
}

std::vector<AppCatalog::Application> AppCatalog::applications() const {
  std::vector<Application> all;
  for (const auto& [identifier, bundle] : bundles_) all.push_back({identifier, bundle.path, bundle.app});
  return all;
}

}  // namespace screen
