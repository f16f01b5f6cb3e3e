// SpringBoard's icon controller: edit mode and the icon pages' scroll view.
#import <Foundation/Foundation.h>

@class SBIconScrollView;
@class UIScrollView;

@interface SBIconController : NSObject {
  BOOL _isEditing;
  SBIconScrollView* _scrollView;
  int _currentIconListIndex;
}
+ (id)sharedInstance;
- (BOOL)isEditing;
- (void)setIsEditing:(BOOL)editing;
// Sent by a scroll view, the icon pages' or another, when it comes to rest.
- (void)scrollViewDidEndDecelerating:(UIScrollView*)scrollView;
// The page shown, from 0.
- (int)currentIconListIndex;
- (void)scrollToIconListAtIndex:(int)index animate:(BOOL)animate;
@end
