// An application SpringBoard knows: a bundle of /Applications or of a user
// application's container.
#import <Foundation/Foundation.h>

@interface SBApplication : NSObject {
  NSString* _displayIdentifier;
  NSString* _displayName;
  NSString* _path;
}
- (NSString*)displayIdentifier;
- (NSString*)displayName;
// The bundle folder's device path.
- (NSString*)path;
@end
