// The applications SpringBoard knows and their icons: the bundles of the
// stock applications and of the user applications' containers.

#import <SpringBoard/SpringBoard.h>

#include <optional>
#include <string>

#include "applications.h"
#include "platform/object_bridge.h"

namespace {

NSString* stringOf(const std::string& text) { return (NSString*)platform::stringObject(text).release(); }

}  // namespace

const screen::AppCatalog& springboard::applicationCatalog() {
  static const screen::AppCatalog catalog = screen::AppCatalog::scan();
  return catalog;
}

@implementation SBApplication

- (id)initWithIdentifier:(const std::string&)identifier name:(const std::string&)name path:(const std::string&)path {
  if ((self = [super init]) != nil) {
    _displayIdentifier = stringOf(identifier);
    _displayName = stringOf(name);
    _path = stringOf(path);
  }
  return self;
}

- (void)dealloc {
  [_displayIdentifier release];
  [_displayName release];
  [_path release];
  [super dealloc];
}

- (NSString*)displayIdentifier {
  return _displayIdentifier;
}

- (NSString*)displayName {
  return _displayName;
}

- (NSString*)path {
  return _path;
}

@end

@implementation SBApplicationController

+ (id)sharedInstance {
  static SBApplicationController* shared = [[SBApplicationController alloc] init];
  return shared;
}

namespace {

// The controller's applications by identifier, made from the catalog the
// first time one is asked for: a start that asks for none scans no bundle.
NSMutableDictionary* applicationsIn(NSMutableDictionary** applications) {
  if (*applications != nil) return *applications;
  *applications = [[NSMutableDictionary alloc] init];
  for (const screen::AppCatalog::Application& bundle : springboard::applicationCatalog().applications()) {
    SBApplication* application = [[SBApplication alloc] initWithIdentifier:bundle.identifier
                                                                      name:bundle.app.displayName
                                                                      path:bundle.path];
    if (application.displayIdentifier) [*applications setObject:application forKey:application.displayIdentifier];
    [application release];
  }
  return *applications;
}

}  // namespace

- (void)dealloc {
  [_applications release];
  [super dealloc];
}

- (SBApplication*)applicationWithDisplayIdentifier:(NSString*)displayIdentifier {
  return displayIdentifier ? [applicationsIn(&_applications) objectForKey:displayIdentifier] : nil;
}

// In the order of their identifiers, so that every run lists them alike.
- (NSArray*)allApplications {
  NSMutableDictionary* applications = applicationsIn(&_applications);
  NSArray* identifiers = [[applications allKeys] sortedArrayUsingSelector:@selector(compare:)];
  return [applications objectsForKeys:identifiers notFoundMarker:[NSNull null]];
}

@end

@implementation SBIcon

- (void)dealloc {
  [_displayIdentifier release];
  [_displayName release];
  [_badge release];
  [super dealloc];
}

- (NSString*)displayIdentifier {
  return _displayIdentifier;
}

- (NSString*)displayName {
  return _displayName;
}

- (void)setBadge:(id)badge {
  [badge retain];
  [_badge release];
  _badge = badge;
}

- (id)badgeNumberOrString {
  return _badge;
}

// An icon of no application has nothing to open.
- (void)launch {
}

@end

@implementation SBApplicationIcon

- (id)initWithApplication:(SBApplication*)application {
  if ((self = [super init]) != nil) {
    _application = [application retain];
    _displayIdentifier = [[application displayIdentifier] copy];
    _displayName = [[application displayName] copy];
  }
  return self;
}

- (void)dealloc {
  [_application release];
  [super dealloc];
}

- (SBApplication*)application {
  return _application;
}

- (void)launch {
  [[SBUIController sharedInstance] activateApplicationAnimated:_application];
}

@end
