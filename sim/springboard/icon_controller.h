#pragma once

// SBIconController and the icon scroll view.
//
//   SBIconController: -(BOOL)isEditing, -(void)setIsEditing:(BOOL),
//     -(void)scrollViewDidEndDecelerating:(id), variables _isEditing and
//     _scrollView (the icon scroll view).
//   UIScrollView: -(BOOL)isDecelerating, -(void)setDecelerating:(BOOL).
//   SBIconScrollView: the UIScrollView subclass that holds the icon pages.

#include <objc/runtime.h>

namespace springboard {

void defineIconControllerClasses(Class root);

struct IconController {
  id controller;
  id iconScrollView;   // the one in the controller's _scrollView
  id otherScrollView;  // a scroll view that reports to the controller too
};

IconController newIconController();
void disposeIconController(const IconController& icons);

}  // namespace springboard
