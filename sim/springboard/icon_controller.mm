// SpringBoard's icon controller: edit mode, and the end of a deceleration of
// a scroll view, as SpringBoard's own implementations journal them.

#import <SpringBoard/SBIconController.h>
#import <SpringBoard/SBIconScrollView.h>

#include <string>

#include "sim/common/journal.h"

@implementation SBIconController

+ (id)sharedInstance {
  static SBIconController* shared = [[SBIconController alloc] init];
  return shared;
}

- (id)init {
  if ((self = [super init]) != nil) _scrollView = [[SBIconScrollView alloc] init];
  return self;
}

- (void)dealloc {
  [_scrollView release];
  [super dealloc];
}

- (BOOL)isEditing {
  return _isEditing;
}

- (void)setIsEditing:(BOOL)editing {
  sim::journal("-[SBIconController setIsEditing:]", {editing ? "1" : "0"});
  _isEditing = editing ? YES : NO;
}

- (void)scrollViewDidEndDecelerating:(UIScrollView*)scrollView {
  sim::journal("-[SBIconController scrollViewDidEndDecelerating:]",
               {scrollView == (UIScrollView*)_scrollView ? "icon" : "other"});
}

- (int)currentIconListIndex {
  return _currentIconListIndex;
}

- (void)scrollToIconListAtIndex:(int)index animate:(BOOL)animate {
  sim::journal("-[SBIconController scrollToIconListAtIndex:animate:]", {std::to_string(index), animate ? "1" : "0"});
  _currentIconListIndex = index;
}

@end

@implementation SBIconScrollView
@end
