#include "bindings/springboard_services.h"

#include <cstring>

#include "bindings/frameworks.h"
#include "platform/framework.h"

namespace sbs {
namespace {

using bindings::kSpringBoardServicesPath;
using bindings::kUIKitPath;
using platform::Framework;

std::uint32_t serverPort(const Framework& framework) {
  return SBKIT_ENTRY_POINT(framework, SBSSpringBoardServerPort)();
}

// The airplane calls fetch the port through UIKit and close it before
// SpringBoardServices is opened, so the two are never open at once.
std::uint32_t serverPortThroughClosedUIKit() {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  return serverPort(uikit);  // UIKit is closed on return
}

}  // namespace

void setApplicationBadgeNumber(const char* bundleId, std::int32_t number) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  SBKIT_ENTRY_POINT(uikit, SBSetApplicationBadgeNumber)(port, bundleId, number);
}

void setApplicationBadge(const char* bundleId, const char* text) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  SBKIT_ENTRY_POINT(uikit, SBSetApplicationBadge)(port, bundleId, text);
  // The text badge and the status-bar calls leave UIKit loaded, as the tools
  // on the device do: each run ends soon after its last call, and the end of
  // the process unloads it. (indicator -t so removes its item with UIKit
  // still loaded from the add.)
  uikit.keepOpen();
}

void addStatusBarItem(const char* name) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  // The entry point takes the owner as a buffer of the caller's, as
  // SpringBoard expects it on the device: 19 bytes, exactly the owner's name
  // and its NUL. It gets a copy, so nothing it does with the buffer can reach
  // the constant.
  char owner[sizeof kStatusBarOwner];
  std::memcpy(owner, kStatusBarOwner, sizeof owner);
  SBKIT_ENTRY_POINT(uikit, SBAddStatusBarItem)(port, owner, name);
  uikit.keepOpen();  // as after the text badge
}

void removeStatusBarItem(const char* name) {
  Framework uikit = Framework::openOrExit(kUIKitPath);
  std::uint32_t port = serverPort(uikit);
  // On the device the remove entry point takes the item name in each of the
  // three places after the port, so the one name pointer fills all three:
  // whichever place SpringBoard reads holds the name.
  SBKIT_ENTRY_POINT(uikit, SBRemoveStatusBarItem)(port, name, name, name);
  uikit.keepOpen();  // as after the text badge
}

void setAirplaneModeEnabled(bool enabled) {
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  SBKIT_ENTRY_POINT(services, SBSetAirplaneModeEnabled)(port, enabled ? 1 : 0);
}

void withLastWiFiScan(const std::function<void(id scan)>& use) {
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(kSpringBoardServicesPath);
  // The scan is used before services closes the library at the end of this
  // scope: what a library hands out may rely on its code.
  use(SBKIT_ENTRY_POINT(services, SBGetLastWiFiScanDictionary)(port));
}

}  // namespace sbs
