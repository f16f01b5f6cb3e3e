// The scroll view that holds the icon pages.
#import <UIKit/UIKit.h>

@interface SBIconScrollView : UIScrollView
@end
