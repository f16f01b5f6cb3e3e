// Printing an object: its value through the bridge, then as a value is
// printed. On the device CFShow prints the object itself.

#include "platform/object_bridge.h"
#include "platform/object_printer.h"

namespace platform {

void show(id object, std::FILE* stream) {
  std::optional<plist::Value> value = valueOf(object);
  show(value ? &*value : nullptr, stream);
}

}  // namespace platform
