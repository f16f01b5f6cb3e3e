// An icon of the home screen, with its badge.
#import <Foundation/Foundation.h>

@interface SBIcon : NSObject {
  NSString* _displayIdentifier;
  NSString* _displayName;
  id _badge;
}
- (NSString*)displayIdentifier;
- (NSString*)displayName;
// An NSNumber for a number badge, an NSString for a text one, nil for none.
- (void)setBadge:(id)badge;
- (id)badgeNumberOrString;
- (void)launch;
@end
