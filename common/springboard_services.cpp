#include "common/springboard_services.h"

#include <cstring>

#include "platform/framework.h"

namespace sbs {
namespace {

using platform::Framework;

std::uint32_t serverPort(const Framework& framework) {
  return framework.entryPointOrExit<ServerPortFunction>("SBSSpringBoardServerPort")();
}

// The airplane calls fetch the port through UIKit and close it before
// SpringBoardServices is opened, so the two are never open at once.
std::uint32_t serverPortThroughClosedUIKit() {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.close();
  return port;
}

}  // namespace

void setApplicationBadgeNumber(const char* bundleId, std::int32_t number) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<SetApplicationBadgeNumberFunction>("SBSetApplicationBadgeNumber")(port, bundleId, number);
  uikit.close();
}

void setApplicationBadge(const char* bundleId, const char* text) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<SetApplicationBadgeFunction>("SBSetApplicationBadge")(port, bundleId, text);
}

void addStatusBarItem(const char* name) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  char owner[sizeof kStatusBarOwner];
  std::memcpy(owner, kStatusBarOwner, sizeof owner);
  uikit.entryPointOrExit<AddStatusBarItemFunction>("SBAddStatusBarItem")(port, owner, name);
}

void removeStatusBarItem(const char* name) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<RemoveStatusBarItemFunction>("SBRemoveStatusBarItem")(port, name, name, name);
}

void setAirplaneModeEnabled(bool enabled) {
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  services.entryPointOrExit<SetAirplaneModeEnabledFunction>("SBSetAirplaneModeEnabled")(port, enabled ? 1 : 0);
  services.close();
}

void withLastWiFiScan(const std::function<void(id scan)>& use) {
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  use(services.entryPointOrExit<GetLastWiFiScanDictionaryFunction>("SBGetLastWiFiScanDictionary")(port));
  services.close();
}

}  // namespace sbs
