#pragma once

// The simulated SpringBoard: its objects and its commands.

#include <objc/objc.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "loader.h"

namespace springboard {

class SpringBoard {
 public:
  // Makes SpringBoard's objects as SpringBoard does at start, by messages a
  // loaded extension may have hooked (+sharedInstance, init, the icon
  // model's first loadIconState), then sends applicationDidFinishLaunching:
  // to the application object. The extensions are what the loader did.
  explicit SpringBoard(std::vector<substrate::Extension> extensions);
  SpringBoard(const SpringBoard&) = delete;
  SpringBoard& operator=(const SpringBoard&) = delete;

  // Runs one command line, printing on out; false when it is not a command
  // or it failed (an error line on standard error says so). Blank lines are
  // no command.
  bool run(std::string_view line, std::FILE* out);

 private:
  void printIconState(std::FILE* out);
  void printStatus(std::FILE* out);
  void printExtensions(std::FILE* out);

  std::vector<substrate::Extension> extensions_;
  id application_;
  id model_;
  id iconController_;
  id iconScrollView_;   // the one in the controller's _scrollView
  id otherScrollView_;  // a scroll view that reports to the controller too
};

}  // namespace springboard
