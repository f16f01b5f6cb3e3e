#pragma once

#include <string>
#include <string_view>

namespace bindings {

// A framework library opened by device path with lazy binding, closed once,
// when the handle (moved, never copied) goes.
class Framework {
 public:
  // Nothing is opened when the library is missing or cannot be loaded.
  static Framework open(std::string_view devicePath);
  // As open, but a missing library ends the run with status 1 and the line
  // "PROGRAM: cannot open PATH" on standard error.
  static Framework openOrExit(std::string_view devicePath);

  Framework(Framework&& other) noexcept;
  Framework(const Framework&) = delete;
  Framework& operator=(const Framework&) = delete;
  ~Framework() { close(); }

  bool isOpen() const { return handle_ != nullptr; }
  const std::string& devicePath() const { return devicePath_; }
  // The address of an entry point, searching the libraries this one depends
  // on too; null when there is none.
  void* symbol(const char* name) const;
  // The entry point as a function of the caller's type; a missing one ends the
  // run with status 1 and "PROGRAM: cannot find NAME in PATH".
  template <class Function>
  Function entryPointOrExit(const char* name) const {
    return reinterpret_cast<Function>(symbolOrExit(name));
  }
  // Lets go of the library, which stays loaded until the process ends; the
  // caller says why.
  void keepOpen() { handle_ = nullptr; }

 private:
  Framework(std::string devicePath, void* handle) : devicePath_(std::move(devicePath)), handle_(handle) {}
  void* symbolOrExit(const char* name) const;
  void close();

  std::string devicePath_;
  void* handle_ = nullptr;
};

}  // namespace bindings
