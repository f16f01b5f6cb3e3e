// GraphicsServices stand-in: announcing a changed preference to an application.

#include <objc/objc.h>

#include <string>

#include "platform/object_bridge.h"
#include "sim/common/journal.h"
#include "sim/frameworks/entry_points.h"

// Both arguments are string objects, as on the device; anything else is
// journalled as an empty field.
extern "C" void GSSendAppPreferencesChanged(id applicationId, id key) {
  sim::journal("GSSendAppPreferencesChanged",
               {platform::utf8Text(applicationId).value_or(""), platform::utf8Text(key).value_or("")});
}
