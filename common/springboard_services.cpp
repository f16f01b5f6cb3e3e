#include "common/springboard_services.h"

#include <cstring>
#include <memory>

#include "platform/framework.h"

namespace sbs {
namespace {

using platform::Framework;
using ServerPortFunction = std::uint32_t (*)();

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
  using Function = void (*)(std::uint32_t, const char*, std::int32_t);
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<Function>("SBSetApplicationBadgeNumber")(port, bundleId, number);
  uikit.close();
}

void setApplicationBadge(const char* bundleId, const char* text) {
  using Function = void (*)(std::uint32_t, const char*, const char*);
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<Function>("SBSetApplicationBadge")(port, bundleId, text);
}

void addStatusBarItem(const char* name) {
  using Function = void (*)(std::uint32_t, const char*, const char*);
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  char owner[sizeof kStatusBarOwner];
  std::memcpy(owner, kStatusBarOwner, sizeof owner);
  uikit.entryPointOrExit<Function>("SBAddStatusBarItem")(port, owner, name);
}

void removeStatusBarItem(const char* name) {
  using Function = void (*)(std::uint32_t, const char*, const char*, const char*);
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.entryPointOrExit<Function>("SBRemoveStatusBarItem")(port, name, name, name);
}

void setAirplaneModeEnabled(bool enabled) {
  using Function = void (*)(std::uint32_t, std::int32_t);
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  services.entryPointOrExit<Function>("SBSetAirplaneModeEnabled")(port, enabled ? 1 : 0);
  services.close();
}

void withLastWiFiScan(const std::function<void(const platform::plist::Value* scan)>& use) {
  using Function = platform::plist::Value* (*)(std::uint32_t);
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  {
    std::unique_ptr<platform::plist::Value> scan(
        services.entryPointOrExit<Function>("SBGetLastWiFiScanDictionary")(port));
    use(scan.get());
  }
  services.close();
}

}  // namespace sbs
