// A tweak that keeps SpringBoard quiet: no badges, no status-bar items, no
// airplane mode. Each hook prints what it was sent, then sends the original
// what it allows.
#include <substrate.h>

#import <SpringBoard/SpringBoard.h>

#include <cstdio>

static void (*previousSetBadge)(SBIcon*, SEL, id);
static void (*previousAddStatusBarItem)(SBStatusBarController*, SEL, NSString*);
static void (*previousSetIsInAirplaneMode)(SBTelephonyManager*, SEL, BOOL);

static void quietSetBadge(SBIcon* self, SEL _cmd, id badge) {
  std::fprintf(stderr, "tweak: -[%s setBadge:%s] on %s\n", [NSStringFromClass([self class]) UTF8String],
               [[badge description] UTF8String], [[self displayIdentifier] UTF8String]);
  previousSetBadge(self, _cmd, nil);
}

static void quietAddStatusBarItem(SBStatusBarController* __unused self, SEL __unused _cmd, NSString* item) {
  std::fprintf(stderr, "tweak: addStatusBarItem:%s\n", [item UTF8String]);
}

static void quietSetIsInAirplaneMode(SBTelephonyManager* self, SEL _cmd, BOOL airplaneMode) {
  std::fprintf(stderr, "tweak: setIsInAirplaneMode:%d\n", airplaneMode);
  previousSetIsInAirplaneMode(self, _cmd, NO);
}

static __attribute__((constructor)) void installQuiet() {
  MSHookMessageEx([SBIcon class], @selector(setBadge:), (IMP)(void*)&quietSetBadge, (IMP*)&previousSetBadge);
  MSHookMessageEx([SBStatusBarController class], @selector(addStatusBarItem:), (IMP)(void*)&quietAddStatusBarItem,
                  (IMP*)&previousAddStatusBarItem);
  MSHookMessageEx([SBTelephonyManager class], @selector(setIsInAirplaneMode:), (IMP)(void*)&quietSetIsInAirplaneMode,
                  (IMP*)&previousSetIsInAirplaneMode);
}
