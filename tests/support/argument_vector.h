#pragma once

// An argument vector for a command-line scanner under test, as a process gets
// it: the program name first, a null pointer last, and getopt reset.

#include <unistd.h>

#include <string>
#include <vector>

class ArgumentVector {
 public:
  ArgumentVector(std::string programName, std::vector<std::string> arguments) : storage_(std::move(arguments)) {
    storage_.insert(storage_.begin(), std::move(programName));
    for (auto& argument : storage_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
    optind = 0;  // glibc's full reset, as at the start of a process
  }
  ArgumentVector(const ArgumentVector&) = delete;
  ArgumentVector& operator=(const ArgumentVector&) = delete;

  int argc() const { return static_cast<int>(storage_.size()); }
  char** argv() { return pointers_.data(); }

 private:
  std::vector<std::string> storage_;
  std::vector<char*> pointers_;
};
