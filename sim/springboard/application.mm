// SpringBoard's application object.

#import <SpringBoard/SpringBoard.h>

#include "sim/common/journal.h"

@implementation SpringBoard

// SpringBoard's own start shows nothing more here: its objects are made.
- (void)applicationDidFinishLaunching:(id)application {
  (void)application;
}

- (void)menuButtonDown:(GSEventRef)event {
  sim::journal("-[SpringBoard menuButtonDown:]", {event ? "event" : "NULL"});
}

// On the lock screen the button only lights the screen: the lock stays.
- (void)menuButtonUp:(GSEventRef)event {
  sim::journal("-[SpringBoard menuButtonUp:]", {event ? "event" : "NULL"});
  if (![[SBAwayController sharedAwayController] isLocked]) [[SBUIController sharedInstance] clickedMenuButton];
}

- (void)lockButtonDown:(GSEventRef)event {
  sim::journal("-[SpringBoard lockButtonDown:]", {event ? "event" : "NULL"});
}

- (void)lockButtonUp:(GSEventRef)event {
  sim::journal("-[SpringBoard lockButtonUp:]", {event ? "event" : "NULL"});
  SBAwayController* away = [SBAwayController sharedAwayController];
  if (![away isLocked]) [away lock];
}

@end
