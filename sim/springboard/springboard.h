#pragma once

// The simulated SpringBoard: its objects and its commands.

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "loader.h"
#include "objects.h"

namespace springboard {

class SpringBoard {
 public:
  // Makes SpringBoard's objects as SpringBoard does at start, sends them the
  // requests the tools made, then sends applicationDidFinishLaunching: to
  // the application object. The extensions are what the loader did.
  explicit SpringBoard(std::vector<substrate::Extension> extensions);
  SpringBoard(const SpringBoard&) = delete;
  SpringBoard& operator=(const SpringBoard&) = delete;

  // Runs one command line, printing on out; false when it is not a command
  // or it failed (an error line on standard error says so). Blank lines are
  // no command.
  bool run(std::string_view line, std::FILE* out);

 private:
  bool runCommand(const std::vector<std::string_view>& command, std::string_view line, std::FILE* out);
  bool launch(std::string_view identifier);
  bool showPage(std::string_view word);
  bool screenshot(const std::vector<std::string_view>& arguments);
  void printIconState(std::FILE* out);
  void printStatus(std::FILE* out);
  void printExtensions(std::FILE* out);

  std::vector<substrate::Extension> extensions_;
  Objects objects_;
  std::map<std::string, std::string> itemOwners_;  // status-bar item to the application that asked for it
};

}  // namespace springboard
