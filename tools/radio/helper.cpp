#include "tools/radio/helper.h"

#include "common/springboard_services.h"
#include "platform/object_printer.h"

namespace radio {

void Helper::getWiFiDict() {
  sbs::withLastWiFiScan([](const platform::plist::Value* scan) { platform::show(scan); });
}

void Helper::setRadio(signed char mode) { sbs::setAirplaneModeEnabled(mode != 0); }

}  // namespace radio
