#include "platform/host/built_in_root.h"

namespace platform {

const char* builtInDeviceRoot() { return "/"; }

}  // namespace platform
