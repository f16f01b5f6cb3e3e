// The lock screen, the status bar's items and airplane mode.

#import <SpringBoard/SpringBoard.h>

#include "sim/common/journal.h"

@implementation SBAwayController

+ (id)sharedAwayController {
  static SBAwayController* shared = [[SBAwayController alloc] init];
  return shared;
}

- (BOOL)isLocked {
  return _isLocked;
}

- (void)lock {
  sim::journal("-[SBAwayController lock]");
  _isLocked = YES;
}

- (void)unlockWithSound:(BOOL)sound {
  sim::journal("-[SBAwayController unlockWithSound:]", {sound ? "1" : "0"});
  _isLocked = NO;
}

@end

@implementation SBStatusBarController

+ (id)sharedStatusBarController {
  static SBStatusBarController* shared = [[SBStatusBarController alloc] init];
  return shared;
}

- (id)init {
  if ((self = [super init]) != nil) _statusBarItems = [[NSMutableArray alloc] init];
  return self;
}

- (void)dealloc {
  [_statusBarItems release];
  [super dealloc];
}

- (void)addStatusBarItem:(NSString*)item {
  if (item && ![_statusBarItems containsObject:item]) [_statusBarItems addObject:item];
}

- (void)removeStatusBarItem:(NSString*)item {
  if (item) [_statusBarItems removeObject:item];
}

@end

@implementation SBTelephonyManager

+ (id)sharedTelephonyManager {
  static SBTelephonyManager* shared = [[SBTelephonyManager alloc] init];
  return shared;
}

- (BOOL)isInAirplaneMode {
  return _isInAirplaneMode;
}

- (void)setIsInAirplaneMode:(BOOL)airplaneMode {
  _isInAirplaneMode = airplaneMode ? YES : NO;
}

@end
