// The applications SpringBoard knows, by display identifier.
#import <Foundation/Foundation.h>

@class SBApplication;

@interface SBApplicationController : NSObject {
  NSMutableDictionary* _applications;
}
+ (id)sharedInstance;
// nil for an identifier no application has.
- (SBApplication*)applicationWithDisplayIdentifier:(NSString*)displayIdentifier;
- (NSArray*)allApplications;
@end
