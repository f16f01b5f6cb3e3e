#include "bindings/framework.h"

#include <dlfcn.h>
#include <err.h>

#include <utility>

#include "platform/device_path.h"

namespace bindings {

Framework Framework::open(std::string_view devicePath) {
  return Framework(std::string(devicePath), dlopen(platform::hostPath(devicePath).c_str(), RTLD_LAZY));
}

Framework::Framework(Framework&& other) noexcept
    : devicePath_(std::move(other.devicePath_)), handle_(std::exchange(other.handle_, nullptr)) {}

Framework Framework::openOrExit(std::string_view devicePath) {
  Framework framework = open(devicePath);
  if (!framework.isOpen()) errx(1, "cannot open %s", framework.devicePath().c_str());
  return framework;
}

void* Framework::symbolOrExit(const char* name) const {
  void* address = symbol(name);
  if (!address) errx(1, "cannot find %s in %s", name, devicePath_.c_str());
  return address;
}

void* Framework::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void Framework::close() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace bindings
