#pragma once

// The simulated SpringBoard: its classes, its objects and its commands.

#include <cstdio>
#include <string_view>

#include "icon_controller.h"

namespace springboard {

class SpringBoard {
 public:
  // Defines the classes and makes the objects; the icon model loads the
  // icon state file.
  SpringBoard();
  ~SpringBoard();
  SpringBoard(const SpringBoard&) = delete;
  SpringBoard& operator=(const SpringBoard&) = delete;

  // Runs one command line, printing on out; false when it is not a command
  // or it failed (an error line on standard error says so). Blank lines are
  // no command.
  bool run(std::string_view line, std::FILE* out);

 private:
  void printIconState(std::FILE* out);
  void printStatus(std::FILE* out);

  id model_;
  IconController icons_;
};

}  // namespace springboard
