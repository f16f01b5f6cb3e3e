#include "platform/built_in_root.h"

namespace platform {

const char* builtInDeviceRoot() { return "/"; }

}  // namespace platform
