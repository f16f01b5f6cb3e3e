#include "common/springboard_services.h"

#include <err.h>

#include <cstring>
#include <memory>

#include "platform/framework.h"

namespace sbs {
namespace {

using platform::Framework;
using ServerPortFunction = std::uint32_t (*)();

Framework openOrExit(const char* devicePath) {
  Framework framework = Framework::open(devicePath);
  if (!framework.isOpen()) errx(1, "cannot open %s", devicePath);
  return framework;
}

template <class Function>
Function lookUpOrExit(const Framework& framework, const char* name) {
  void* address = framework.symbol(name);
  if (!address) errx(1, "cannot find %s in %s", name, framework.devicePath().c_str());
  return reinterpret_cast<Function>(address);
}

std::uint32_t serverPort(const Framework& framework) {
  return lookUpOrExit<ServerPortFunction>(framework, "SBSSpringBoardServerPort")();
}

// The airplane calls fetch the port through UIKit and close it before
// SpringBoardServices is opened, so the two are never open at once.
std::uint32_t serverPortThroughClosedUIKit() {
  Framework uikit = openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  uikit.close();
  return port;
}

}  // namespace

void setApplicationBadgeNumber(const char* bundleId, std::int32_t number) {
  using Function = void (*)(std::uint32_t, const char*, std::int32_t);
  Framework uikit = openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  lookUpOrExit<Function>(uikit, "SBSetApplicationBadgeNumber")(port, bundleId, number);
  uikit.close();
}

void setApplicationBadge(const char* bundleId, const char* text) {
  using Function = void (*)(std::uint32_t, const char*, const char*);
  Framework uikit = openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  lookUpOrExit<Function>(uikit, "SBSetApplicationBadge")(port, bundleId, text);
}

void addStatusBarItem(const char* name) {
  using Function = void (*)(std::uint32_t, const char*, const char*);
  Framework uikit = openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  char owner[sizeof kStatusBarOwner];
  std::memcpy(owner, kStatusBarOwner, sizeof owner);
  lookUpOrExit<Function>(uikit, "SBAddStatusBarItem")(port, owner, name);
}

void removeStatusBarItem(const char* name) {
  using Function = void (*)(std::uint32_t, const char*, const char*, const char*);
  Framework uikit = openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  lookUpOrExit<Function>(uikit, "SBRemoveStatusBarItem")(port, name, name, name);
}

void setAirplaneModeEnabled(bool enabled) {
  using Function = void (*)(std::uint32_t, std::int32_t);
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = openOrExit(kSpringBoardServicesPath);
  lookUpOrExit<Function>(services, "SBSetAirplaneModeEnabled")(port, enabled ? 1 : 0);
  services.close();
}

std::optional<platform::plist::Value> lastWiFiScan() {
  using Function = platform::plist::Value* (*)(std::uint32_t);
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = openOrExit(kSpringBoardServicesPath);
  std::unique_ptr<platform::plist::Value> scan(lookUpOrExit<Function>(services, "SBGetLastWiFiScanDictionary")(port));
  services.close();
  if (!scan) return std::nullopt;
  return std::move(*scan);
}

}  // namespace sbs
