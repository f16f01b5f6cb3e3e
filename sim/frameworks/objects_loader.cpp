#include <dlfcn.h>

#include "platform/device_path.h"
#include "sim/frameworks/objects.h"

namespace sim {

void* openObjectsLibrary() {
  // A process that links the library (SpringBoard, a tweak) has its classes
  // already, maybe from another folder: a second copy would define them twice.
  if (void* loaded = dlopen(kObjectsLibrarySoname, RTLD_NOW | RTLD_NOLOAD)) return loaded;
  return dlopen(platform::hostPath(kObjectsLibraryPath).c_str(), RTLD_NOW | RTLD_NODELETE);
}

}  // namespace sim
