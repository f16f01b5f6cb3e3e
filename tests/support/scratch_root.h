#pragma once

// A scratch device root for unit tests: an empty temporary folder that
// SBKIT_ROOT names while it lives, removed with everything in it afterwards.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

class ScratchRoot {
 public:
  ScratchRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sbkit-scratch-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    setenv("SBKIT_ROOT", path_.c_str(), 1);
  }
  ~ScratchRoot() {
    unsetenv("SBKIT_ROOT");
    std::error_code ignored;
    // Folders a test locked must be opened again to be removed.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
