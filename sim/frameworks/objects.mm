// The stand-ins' objects: what UIKit, SpringBoardServices and GraphicsServices
// hand over or take as Foundation objects lives in this library of its own,
// which they load only when an object is to cross. A tool that never sees an object thus
// never loads Foundation, however often it opens UIKit.
//
// It is never unloaded (it is opened with RTLD_NODELETE): the object runtime
// keeps pointers into the classes and selectors of every library that
// defines them, as the device's loader keeps such libraries for good.

#include "sim/frameworks/objects.h"

#import <Foundation/Foundation.h>

#include <optional>
#include <string>

#include "platform/object_bridge.h"
#include "platform/plist/plist.h"
#include "sim/common/journal.h"

// UIKit's application object: here it only opens URLs, which the simulated
// system has no application for, so it journals them.
@interface UIApplication : NSObject
+ (UIApplication*)sharedApplication;
- (BOOL)openURL:(NSURL*)url;
@end

@implementation UIApplication

+ (UIApplication*)sharedApplication {
  static UIApplication* shared = [[UIApplication alloc] init];
  return shared;
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
