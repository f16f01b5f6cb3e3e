#import <SpringBoard/SpringBoard.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/device_path.h"
#include "platform/object_bridge.h"
#include "platform/plist/plist.h"
#include "sim/common/journal.h"

namespace {

constexpr const char* kIconStatePath = "/var/mobile/Library/SpringBoard/IconState.plist";

}  // namespace

// SpringBoard's icon model. Its state is a dictionary object, as SpringBoard's
// is; the file is read by the kit's own reader and handed over as an object.
@implementation SBIconModel

+ (id)sharedInstance {
  static SBIconModel* shared = [[SBIconModel alloc] init];
  return shared;
}

// Replaces the state with what the file holds now: nothing when the file is
// missing, and a warning saying why too when it cannot be read as a
// dictionary.
- (void)loadIconState {
  [_iconState release];
  _iconState = nil;
  std::string why;
  if (std::optional<platform::plist::Dictionary> read = platform::plist::readDictionary(kIconStatePath, &why)) {
    _iconState = (NSDictionary*)platform::objectOf(platform::plist::Value(std::move(*read))).release();
    return;
  }
  std::error_code error;
  if (std::filesystem::exists(platform::hostPath(kIconStatePath), error))
    std::fprintf(stderr, "springboard: ignoring %s: %s\n", kIconStatePath, why.c_str());
}

- (id)init {
  if ((self = [super init]) != nil) [self loadIconState];
  return self;
}

- (void)dealloc {
  [_icons release];
  [_iconState release];
  [super dealloc];
}

- (NSDictionary*)_iconState {
  return _iconState;
}

- (NSString*)iconStatePath {
  return [NSString stringWithUTF8String:kIconStatePath];
}

- (void)noteIconStateChangedExternally {
  sim::journal("-[SBIconModel noteIconStateChangedExternally]");
  [self loadIconState];
}

- (SBApplicationIcon*)iconForDisplayIdentifier:(NSString*)displayIdentifier {
  if (SBApplicationIcon* icon = displayIdentifier ? [_icons objectForKey:displayIdentifier] : nil) return icon;
  SBApplication* application =
      [[SBApplicationController sharedInstance] applicationWithDisplayIdentifier:displayIdentifier];
  if (application == nil) return nil;
  if (_icons == nil) _icons = [[NSMutableDictionary alloc] init];
  SBApplicationIcon* icon = [[SBApplicationIcon alloc] initWithApplication:application];
  [_icons setObject:icon forKey:displayIdentifier];
  [icon release];
  return icon;
}

- (void)deleteIconState {
  sim::journal("-[SBIconModel deleteIconState]");
  std::error_code error;
  std::filesystem::remove(platform::hostPath(kIconStatePath), error);
  if (error) std::fprintf(stderr, "springboard: cannot remove %s: %s\n", kIconStatePath, error.message().c_str());
  [_iconState release];
  _iconState = nil;
}

@end
