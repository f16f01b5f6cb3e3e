// The radios: airplane mode.
#import <Foundation/Foundation.h>

@interface SBTelephonyManager : NSObject {
  BOOL _isInAirplaneMode;
}
+ (id)sharedTelephonyManager;
- (BOOL)isInAirplaneMode;
- (void)setIsInAirplaneMode:(BOOL)airplaneMode;
@end
