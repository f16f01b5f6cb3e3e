// The installed sample device: share/sbkit/ beside the program's bin/, where
// the device root is the program's built-in root too.

#include <string>

#include "new_root.h"
#include "platform/host/built_in_root.h"

namespace springboard {

namespace {

std::filesystem::path shareFolder() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return program.parent_path().parent_path() / "share/sbkit";
}

}  // namespace

SampleDevice sampleDevice() { return {shareFolder() / "device", shareFolder() / "sample"}; }

}  // namespace springboard

namespace platform {

const char* builtInDeviceRoot() {
  static const std::string root = springboard::sampleDevice().device.string();
  return root.c_str();
}

}  // namespace platform
