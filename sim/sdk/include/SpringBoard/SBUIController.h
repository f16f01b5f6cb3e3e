// What the screen shows: the home screen or the front application.
#import <Foundation/Foundation.h>

@class SBApplication;

@interface SBUIController : NSObject {
  SBApplication* _frontApplication;
}
+ (id)sharedInstance;
// Makes the application the front one.
- (void)activateApplicationAnimated:(SBApplication*)application;
// What the home button does: leaves the front application; or else leaves
// edit mode; or else scrolls to the first page. YES when it did one of these.
- (BOOL)clickedMenuButton;
@end
