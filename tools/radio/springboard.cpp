#include "tools/radio/springboard.h"

#include <cstdint>

#include "bindings/frameworks.h"
#include "platform/object_bridge.h"
#include "platform/object_printer.h"

namespace radio {
namespace {

using bindings::Framework;

// Both calls fetch the port through UIKit and close it before
// SpringBoardServices is opened, so the two are never open at once.
std::uint32_t serverPortThroughClosedUIKit() {
  Framework uikit = Framework::openOrExit(bindings::kUIKitPath);
  return SBKIT_ENTRY_POINT(uikit, SBSSpringBoardServerPort)();  // UIKit is closed on return
}

}  // namespace

void printLastWiFiScan() {
  // The scan is SpringBoard's, handed out autoreleased: the caller does not
  // own it, and it lives until this pool goes, after it has been printed.
  platform::AutoreleasePool pool;
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(bindings::kSpringBoardServicesPath);
  // Printed before services closes the library at the end of this scope:
  // what a library hands out may rely on its code.
  platform::show(SBKIT_ENTRY_POINT(services, SBGetLastWiFiScanDictionary)(port));
}

void setAirplaneMode(signed char mode) {
  std::uint32_t port = serverPortThroughClosedUIKit();
  Framework services = Framework::openOrExit(bindings::kSpringBoardServicesPath);
  SBKIT_ENTRY_POINT(services, SBSetAirplaneModeEnabled)(port, mode);  // widened with its sign: 0 or 1
}

}  // namespace radio
