// The status bar's items, by name, in the order they were added.
#import <Foundation/Foundation.h>

@interface SBStatusBarController : NSObject {
  NSMutableArray* _statusBarItems;
}
+ (id)sharedStatusBarController;
- (void)addStatusBarItem:(NSString*)item;
- (void)removeStatusBarItem:(NSString*)item;
@end
