#include "platform/host/built_in_root.h"

namespace platform {

const char* builtInDeviceRoot() { return SBKIT_BUILT_IN_ROOT; }

}  // namespace platform
