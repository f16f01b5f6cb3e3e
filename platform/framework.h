#pragma once

#include <string>
#include <string_view>

namespace platform {

// A framework library opened by device path, with lazy binding. The handle
// stays open until close() is called: some callers leave it open on purpose.
class Framework {
 public:
  // Nothing is opened when the library is missing or cannot be loaded.
  static Framework open(std::string_view devicePath);

  bool isOpen() const { return handle_ != nullptr; }
  const std::string& devicePath() const { return devicePath_; }
  // The address of an entry point, searching the libraries this one depends
  // on too; null when there is none.
  void* symbol(const char* name) const;
  void close();

 private:
  Framework(std::string devicePath, void* handle) : devicePath_(std::move(devicePath)), handle_(handle) {}

  std::string devicePath_;
  void* handle_ = nullptr;
};

}  // namespace platform
