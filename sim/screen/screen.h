#pragma once

// Everything the screen shows, gathered before anything is drawn: the home
// screen's page, the lock screen or the application in front, the status
// bar, the badges and edit mode, at one moment of the device's clock.

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "home_screen.h"
#include "platform/plist/plist.h"

namespace screen {

struct StatusBar {
  std::string carrier;
  std::string clock;               // empty while locked: the padlock stands in its place
  std::vector<std::string> items;  // in the order they were added
  bool airplaneMode = false;
  bool padlock = false;
};

struct Screen {
  HomePage page;
  std::size_t pageNumber = 1;
  StatusBar statusBar;
  // Application identifier to the text its badge shows; no entry, no badge.
  std::map<std::string, std::string, std::less<>> badges;
  bool editing = false;
  // The lock screen covers everything but the status bar; below it, the
  // front application covers the home screen.
  bool locked = false;
  std::string frontApplication;  // empty: none
  std::tm now{};                 // the device's local time
};

// The status bar at time now: the carrier from SpringBoard's preferences, the
// items and airplane mode as SpringBoard holds them; while locked, a padlock
// in the clock's place.
StatusBar statusBarOf(const platform::plist::Dictionary& preferences, std::vector<std::string> items, bool airplaneMode,
                      bool locked, const std::tm& now);

// The time as the status bar shows it ("9:41 AM"), as the lock screen shows it
// ("9:41"), the lock screen's date ("Wednesday, June 17") and the calendar
// icon's weekday ("Wed"), in the device's language.
std::string statusClockText(const std::tm& now);
std::string lockClockText(const std::tm& now);
std::string dateText(const std::tm& now);
std::string weekdayText(const std::tm& now);

// The text a badge value shows: a text as it is, any other value as its
// description (a number as its decimal digits). The integer 0 and the empty
// text are no badge.
std::optional<std::string> shownBadge(const platform::plist::Value& badge);

// From the stand-ins' record of SpringBoard's visible state: the badges of a
// number or a text, as shownBadge shows them, and the status-bar items in the
// order they were added.
std::map<std::string, std::string, std::less<>> badgesOf(const platform::plist::Dictionary& visibleState);
std::vector<std::string> statusBarItemsOf(const platform::plist::Dictionary& visibleState);

}  // namespace screen
