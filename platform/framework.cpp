#include "platform/framework.h"

#include <dlfcn.h>

#include "platform/device_path.h"

namespace platform {

Framework Framework::open(std::string_view devicePath) {
  return Framework(std::string(devicePath), dlopen(hostPath(devicePath).c_str(), RTLD_LAZY));
}

void* Framework::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void Framework::close() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace platform
