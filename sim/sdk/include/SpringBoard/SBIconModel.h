// SpringBoard's icon model: the icon layout, loaded from the icon state file.
#import <Foundation/Foundation.h>

@class SBApplicationIcon;

@interface SBIconModel : NSObject {
  NSDictionary* _iconState;
  NSMutableDictionary* _icons;
}
+ (id)sharedInstance;
// Replaces the state with what the icon state file holds now.
- (void)loadIconState;
// The state in force, or nil.
- (NSDictionary*)_iconState;
// The icon state file's device path.
- (NSString*)iconStatePath;
// Reloads the state from the file.
- (void)noteIconStateChangedExternally;
// Removes the file and the state.
- (void)deleteIconState;
// The icon of an application SBApplicationController knows; nil for another.
- (SBApplicationIcon*)iconForDisplayIdentifier:(NSString*)displayIdentifier;
@end
