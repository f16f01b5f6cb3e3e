// The stand-ins' objects: what UIKit, SpringBoardServices and GraphicsServices
// hand over or take as Foundation objects lives in this library of its own,
// which they load only when an object is to cross. A tool that never sees an object thus
// never loads Foundation, however often it opens UIKit.
//
// It is never unloaded (it is opened with RTLD_NODELETE): the object runtime
// keeps pointers into the classes and selectors of every library that
// defines them, as the device's loader keeps such libraries for good.

#include "sim/frameworks/objects.h"

#import <UIKit/UIKit.h>

#include <optional>
#include <string>

#include "platform/object_bridge.h"
#include "platform/plist/plist.h"
#include "sim/common/journal.h"

@implementation UIResponder
@end

@implementation UIView
@end

@implementation UIScrollView

- (BOOL)isDecelerating {
  return _decelerating;
}

// What a finger does on the device: the simulation moves the view by command.
- (void)setDecelerating:(BOOL)decelerating {
  _decelerating = decelerating ? YES : NO;
}

@end

// The process's application object: the first one made. SpringBoard makes
// its own at start, and until then there is none, as on the device; another
// process (a tool) gets a plain one made when first asked for. Here it only
// opens URLs, which the simulated system has no application for, so it
// journals them.
static UIApplication* sharedApplication = nil;

@implementation UIApplication

+ (UIApplication*)sharedApplication {
  if (sharedApplication == nil && objc_lookUpClass("SpringBoard") == Nil) [[UIApplication alloc] init];
  return sharedApplication;
}

- (id)init {
  if ((self = [super init]) != nil && sharedApplication == nil) sharedApplication = [self retain];
  return self;
}

// A nil URL (text that was no URL) is journalled as an empty field.
- (BOOL)openURL:(NSURL*)url {
  platform::AutoreleasePool pool;
  std::optional<std::string> text = platform::utf8Text([url absoluteString]);
  sim::journal("openURL", {text.value_or("")});
  return url != nil;
}

@end

extern "C" id SimulatorPropertyListObject(const char* devicePath) {
  std::optional<platform::plist::Value> value = platform::plist::read(devicePath);
  if (!value) return nil;
  return [(id)platform::objectOf(*value).release() autorelease];
}

extern "C" void SimulatorPreferencesChanged(id applicationId, id key) {
  sim::journal("GSSendAppPreferencesChanged",
               {platform::utf8Text(applicationId).value_or(""), platform::utf8Text(key).value_or("")});
}
