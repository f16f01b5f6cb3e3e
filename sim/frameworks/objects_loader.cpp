#include <dlfcn.h>

#include "platform/device_path.h"
#include "sim/frameworks/objects.h"

namespace sim {

void* openObjectsLibrary() {
  return dlopen(platform::hostPath(kObjectsLibraryPath).c_str(), RTLD_NOW | RTLD_NODELETE);
}

}  // namespace sim
