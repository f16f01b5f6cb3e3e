// The applications SpringBoard knows, by display identifier.
#import <Foundation/Foundation.h>

@class SBApplication;

@interface SBApplicationController : NSObject {
  NSMutableDictionary* _applications;  // nil until the controller is first asked for an application
}
+ (id)sharedInstance;
// nil for an identifier no application has.
- (SBApplication*)applicationWithDisplayIdentifier:(NSString*)displayIdentifier;
- (NSArray*)allApplications;
@end
