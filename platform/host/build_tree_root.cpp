#include "platform/host/built_in_root.h"

namespace platform {

const char* builtInDeviceRoot() { return SBKIT_BUILD_TREE_ROOT; }

}  // namespace platform
