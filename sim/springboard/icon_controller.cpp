#include "icon_controller.h"

#include "runtime.h"
#include "sim/common/journal.h"

namespace springboard {

namespace {

BOOL& editing(id controller) { return variable<BOOL>(controller, "_isEditing"); }
id& scrollView(id controller) { return variable<id>(controller, "_scrollView"); }
BOOL& decelerating(id view) { return variable<BOOL>(view, "_decelerating"); }

BOOL isEditing(id self, SEL) { return editing(self); }

void setIsEditing(id self, SEL, BOOL on) {
  sim::journal("-[SBIconController setIsEditing:]", {on ? "1" : "0"});
  editing(self) = on ? YES : NO;
}

void scrollViewDidEndDecelerating(id self, SEL, id view) {
  sim::journal("-[SBIconController scrollViewDidEndDecelerating:]", {view == scrollView(self) ? "icon" : "other"});
}

BOOL isDecelerating(id self, SEL) { return decelerating(self); }

void setDecelerating(id self, SEL, BOOL on) { decelerating(self) = on ? YES : NO; }

}  // namespace

void defineIconControllerClasses(Class root) {
  ClassBuilder::subclass(root, "SBIconController")
      .variable("_isEditing", sizeof(BOOL), 0, "C")
      .variable("_scrollView", sizeof(id), 3, "@")
      .method("isEditing", isEditing, "C@:")
      .method("setIsEditing:", setIsEditing, "v@:C")
      .method("scrollViewDidEndDecelerating:", scrollViewDidEndDecelerating, "v@:@")
      .done();
  Class scrollViewClass = ClassBuilder::subclass(root, "UIScrollView")
                              .variable("_decelerating", sizeof(BOOL), 0, "C")
                              .method("isDecelerating", isDecelerating, "C@:")
                              .method("setDecelerating:", setDecelerating, "v@:C")
                              .done();
  ClassBuilder::subclass(scrollViewClass, "SBIconScrollView").done();
}

IconController newIconController() {
  IconController icons{class_createInstance(objc_getClass("SBIconController"), 0),
                       class_createInstance(objc_getClass("SBIconScrollView"), 0),
                       class_createInstance(objc_getClass("UIScrollView"), 0)};
  scrollView(icons.controller) = icons.iconScrollView;
  return icons;
}

void disposeIconController(const IconController& icons) {
  object_dispose(icons.otherScrollView);
  object_dispose(icons.iconScrollView);
  object_dispose(icons.controller);
}

}  // namespace springboard
