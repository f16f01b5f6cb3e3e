// The lock screen.
#import <Foundation/Foundation.h>

@interface SBAwayController : NSObject {
  BOOL _isLocked;
}
+ (id)sharedAwayController;
- (BOOL)isLocked;
- (void)lock;
- (void)unlockWithSound:(BOOL)sound;
@end
