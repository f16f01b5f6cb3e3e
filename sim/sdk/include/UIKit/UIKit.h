// The UIKit classes the simulated SpringBoard has, as the device declares
// them. Instance variables are declared here, where a subclass of a tweak's
// needs them to lay itself out.
#import <Foundation/Foundation.h>

@interface UIResponder : NSObject
@end

@interface UIView : UIResponder
@end

@interface UIScrollView : UIView {
  BOOL _decelerating;
}
// YES while the view moves on after the finger has left it.
- (BOOL)isDecelerating;
@end

@interface UIApplication : UIResponder
// The process's application object: in SpringBoard, SpringBoard itself.
+ (UIApplication*)sharedApplication;
- (BOOL)openURL:(NSURL*)url;
@end
