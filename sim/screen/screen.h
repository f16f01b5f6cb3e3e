#pragma once

// Everything the screen shows, gathered before anything is drawn: the page,
// the status bar, the badges and edit mode.

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "home_screen.h"
#include "platform/plist.h"

namespace screen {

struct StatusBar {
  std::string carrier;
  std::string clock;
  std::vector<std::string> items;  // in the order they were added
  bool airplaneMode = false;
};

struct Screen {
  HomePage page;
  std::size_t pageNumber = 1;
  StatusBar statusBar;
  // Application identifier to the text its badge shows; no entry, no badge.
  std::map<std::string, std::string, std::less<>> badges;
  bool editing = false;
};

// The status bar that SpringBoard's visible state (the stand-ins' record) and
// its preferences make, at time now.
StatusBar statusBarOf(const platform::plist::Dictionary& visibleState, const platform::plist::Dictionary& preferences,
                      std::time_t now);

// The badges of the visible state: a number as its decimal digits, a text as
// it is; 0 and the empty text are no badge.
std::map<std::string, std::string, std::less<>> badgesOf(const platform::plist::Dictionary& visibleState);

}  // namespace screen
