// SpringBoard's application object.

#import <SpringBoard/SpringBoard.h>

@implementation SpringBoard

// SpringBoard's own start shows nothing more here: its objects are made.
- (void)applicationDidFinishLaunching:(id)application {
  (void)application;
}

@end
