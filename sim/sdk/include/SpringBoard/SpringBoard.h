// SpringBoard's application class, and every SpringBoard class the simulated
// SpringBoard has.
#import <UIKit/UIKit.h>

#import <SpringBoard/SBApplication.h>
#import <SpringBoard/SBApplicationController.h>
#import <SpringBoard/SBApplicationIcon.h>
#import <SpringBoard/SBAwayController.h>
#import <SpringBoard/SBIcon.h>
#import <SpringBoard/SBIconController.h>
#import <SpringBoard/SBIconModel.h>
#import <SpringBoard/SBIconScrollView.h>
#import <SpringBoard/SBStatusBarController.h>
#import <SpringBoard/SBTelephonyManager.h>
#import <SpringBoard/SBUIController.h>

// The hardware buttons' event, null in the simulation.
typedef struct __GSEvent* GSEventRef;

@interface SpringBoard : UIApplication
// Sent once at start, after SpringBoard has made its objects, with itself.
- (void)applicationDidFinishLaunching:(id)application;
- (void)menuButtonDown:(GSEventRef)event;
// Sends clickedMenuButton to SBUIController, unless the device is locked.
- (void)menuButtonUp:(GSEventRef)event;
- (void)lockButtonDown:(GSEventRef)event;
// Locks the device.
- (void)lockButtonUp:(GSEventRef)event;
@end
