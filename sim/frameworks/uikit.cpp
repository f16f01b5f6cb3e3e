// UIKit stand-in. Tools open UIKit to reach SpringBoard services: it links
// SpringBoardServices, so entry points looked up through its handle are found
// there, as on the device. It also opens URLs for the platform, as the
// application object's openURL: does on the device.

#include <string>

#include "platform/plist.h"
#include "sim/common/journal.h"

using platform::plist::Value;

extern "C" int UIKitStandInVersion() { return 1; }

// The URL arrives as a string object; the simulated system has no
// applications to hand it to, so it is only journalled.
extern "C" void UIApplicationOpenURL(const Value* url) {
  const std::string* text = url ? url->get<std::string>() : nullptr;
  sim::journal("openURL", {text ? *text : std::string()});
}
