#include "icon_model.h"

#import <Foundation/Foundation.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/device_path.h"
#include "platform/object_bridge.h"
#include "platform/plist.h"
#include "sim/common/journal.h"

// SpringBoard's icon model. Its state is a dictionary object, as SpringBoard's
// is; the file is read by the kit's own reader and handed over as an object.
@interface SBIconModel : NSObject {
  NSDictionary* _iconState;  // owned; nil when there is none
}
- (NSDictionary*)_iconState;
- (NSString*)iconStatePath;
- (void)noteIconStateChangedExternally;
- (void)deleteIconState;
@end

@implementation SBIconModel

// Replaces the state with what the file holds now: nothing when the file is
// missing, and a warning saying why too when it cannot be read as a
// dictionary.
- (void)loadIconState {
  [_iconState release];
  _iconState = nil;
  std::string why;
  if (std::optional<platform::plist::Dictionary> read =
          platform::plist::readDictionary(springboard::kIconStatePath, &why)) {
    _iconState = (NSDictionary*)platform::objectOf(platform::plist::Value(std::move(*read))).release();
    return;
  }
  std::error_code error;
  if (std::filesystem::exists(platform::hostPath(springboard::kIconStatePath), error))
    std::fprintf(stderr, "springboard: ignoring %s: %s\n", springboard::kIconStatePath, why.c_str());
}

- (id)init {
  if ((self = [super init]) != nil) [self loadIconState];
  return self;
}

- (void)dealloc {
  [_iconState release];
  [super dealloc];
}

- (NSDictionary*)_iconState {
  return _iconState;
}

- (NSString*)iconStatePath {
  return [NSString stringWithUTF8String:springboard::kIconStatePath];
}

- (void)noteIconStateChangedExternally {
  sim::journal("-[SBIconModel noteIconStateChangedExternally]");
  [self loadIconState];
}

- (void)deleteIconState {
  sim::journal("-[SBIconModel deleteIconState]");
  std::error_code error;
  std::filesystem::remove(platform::hostPath(springboard::kIconStatePath), error);
  if (error)
    std::fprintf(stderr, "springboard: cannot remove %s: %s\n", springboard::kIconStatePath, error.message().c_str());
  [_iconState release];
  _iconState = nil;
}

@end

namespace springboard {

id newIconModel() { return [[SBIconModel alloc] init]; }

void disposeIconModel(id model) { [model release]; }

}  // namespace springboard
