// SpringBoard's application class, and every SpringBoard class the simulated
// SpringBoard has.
#import <UIKit/UIKit.h>

#import <SpringBoard/SBIconController.h>
#import <SpringBoard/SBIconModel.h>
#import <SpringBoard/SBIconScrollView.h>

@interface SpringBoard : UIApplication
// Sent once at start, after SpringBoard has made its objects, with itself.
- (void)applicationDidFinishLaunching:(id)application;
@end
