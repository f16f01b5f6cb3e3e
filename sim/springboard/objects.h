#pragma once

// SpringBoard's objects, as the program holds them, and what they hold.

#include <objc/objc.h>

#include <map>
#include <string>
#include <vector>

#include "platform/plist/plist.h"

namespace springboard {

struct Objects {
  id application;  // SpringBoard itself
  id model;
  id iconController;
  id iconScrollView;   // the one in the controller's _scrollView
  id otherScrollView;  // a scroll view that reports to the controller too
  id applications;     // SBApplicationController
  id ui;               // SBUIController
  id away;             // SBAwayController
  id statusBar;        // SBStatusBarController
  id telephony;        // SBTelephonyManager

  // Makes them as SpringBoard does at start: by the messages a tweak may
  // hook (+sharedInstance, init, the icon model's first loadIconState).
  static Objects make();
};

// What the objects hold now, which status and the picture show.
struct Shown {
  bool editing = false;
  bool decelerating = false;
  std::map<std::string, platform::plist::Value> badges;  // by identifier
  std::vector<std::string> statusBarItems;               // in the order they were added
  bool airplaneMode = false;
  bool locked = false;
  std::string frontApplication;  // empty: none
  int page = 0;                  // from 0
};
Shown shownBy(const Objects& objects);

// Sends each request the tools made through SpringBoardServices, as the
// visible state file holds them, to the objects as SpringBoard's own message:
// a badge as setBadge: on the application's icon (nil for a cleared one), a
// status-bar item as addStatusBarItem:, airplane mode as setIsInAirplaneMode:.
// Answers the owner each added item's request named.
std::map<std::string, std::string> deliverToolRequests(const Objects& objects);

}  // namespace springboard
