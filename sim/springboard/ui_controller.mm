// The front application, and what the home button does.

#import <SpringBoard/SpringBoard.h>

#include <optional>
#include <string>

#include "platform/object_bridge.h"
#include "sim/common/journal.h"

@implementation SBUIController

+ (id)sharedInstance {
  static SBUIController* shared = [[SBUIController alloc] init];
  return shared;
}

- (void)dealloc {
  [_frontApplication release];
  [super dealloc];
}

- (void)activateApplicationAnimated:(SBApplication*)application {
  sim::journal("-[SBUIController activateApplicationAnimated:]",
               {platform::utf8Text([application displayIdentifier]).value_or("")});
  [application retain];
  [_frontApplication release];
  _frontApplication = application;
}

- (BOOL)clickedMenuButton {
  sim::journal("-[SBUIController clickedMenuButton]");
  if (_frontApplication != nil) {
    [_frontApplication release];
    _frontApplication = nil;
    return YES;
  }
  SBIconController* icons = [SBIconController sharedInstance];
  if ([icons isEditing]) {
    [icons setIsEditing:NO];
    return YES;
  }
  if ([icons currentIconListIndex] != 0) {
    [icons scrollToIconListAtIndex:0 animate:YES];
    return YES;
  }
  return NO;
}

@end
