#include "tools/radio/helper.h"

#include "bindings/springboard_services.h"
#include "platform/object_bridge.h"
#include "platform/object_printer.h"

namespace radio {

void Helper::getWiFiDict() {
  // The scan is SpringBoard's, handed out autoreleased: it lives until this
  // pool goes, after it has been printed.
  platform::AutoreleasePool pool;
  sbs::withLastWiFiScan([](id scan) { platform::show(scan); });
}

void Helper::setRadio(signed char mode) { sbs::setAirplaneModeEnabled(mode != 0); }

}  // namespace radio
