// editdefer loaded into this process over a stand-in SBIconController whose
// _scrollView is missing, of another type, or nil: the paths SpringBoard's
// own class never takes.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message.h"

namespace {

using platform::implementationCast;
using platform::send;

std::vector<std::string> calls;  // what the controller's own methods were asked

BOOL& editing(id self) {
  Ivar ivar = class_getInstanceVariable(object_getClass(self), "_isEditing");
  return *reinterpret_cast<BOOL*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar));
}
BOOL isEditing(id self, SEL) { return editing(self); }
void setIsEditing(id self, SEL, BOOL on) {
  calls.push_back(on ? "setIsEditing: 1" : "setIsEditing: 0");
  editing(self) = on;
}
void scrollViewDidEndDecelerating(id, SEL, id) { calls.push_back("scrollViewDidEndDecelerating:"); }
BOOL alwaysDecelerating(id, SEL) { return YES; }

Class makeClass(Class superclass, const char* name, void (*add)(Class)) {
  Class cls = objc_allocateClassPair(superclass, name, 0);
  add(cls);
  objc_registerClassPair(cls);
  return cls;
}

class EditDeferInProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (objc_getClass("SBIconController") != Nil) return;  // earlier test of this process
    Class root = makeClass(Nil, "TestRoot", [](Class cls) { class_addIvar(cls, "isa", sizeof(Class), 3, "#"); });
    // The controller itself has no _scrollView.
    Class controller = makeClass(root, "SBIconController", [](Class cls) {
      class_addIvar(cls, "_isEditing", sizeof(BOOL), 0, "C");
      class_addMethod(cls, sel_registerName("isEditing"), implementationCast<IMP>(isEditing), "C@:");
      class_addMethod(cls, sel_registerName("setIsEditing:"), implementationCast<IMP>(setIsEditing), "v@:C");
      class_addMethod(cls, sel_registerName("scrollViewDidEndDecelerating:"),
                      implementationCast<IMP>(scrollViewDidEndDecelerating), "v@:@");
    });
    makeClass(controller, "ControllerWithScrollView",
              [](Class cls) { class_addIvar(cls, "_scrollView", sizeof(id), 3, "@"); });
    makeClass(controller, "ControllerWithNumberScrollView",
              [](Class cls) { class_addIvar(cls, "_scrollView", sizeof(long), 3, "l"); });
    makeClass(root, "DeceleratingView", [](Class cls) {
      class_addMethod(cls, sel_registerName("isDecelerating"), implementationCast<IMP>(alwaysDecelerating), "C@:");
    });
    ASSERT_NE(dlopen(EDITDEFER_DYLIB, RTLD_LAZY | RTLD_GLOBAL), nullptr) << dlerror();
  }

  void SetUp() override { calls.clear(); }
  void TearDown() override {
    for (id object : objects_) object_dispose(object);
  }

  id make(const char* className) {
    objects_.push_back(class_createInstance(objc_getClass(className), 0));
    return objects_.back();
  }
  static void setScrollView(id controller, id view) {
    Ivar ivar = class_getInstanceVariable(object_getClass(controller), "_scrollView");
    *reinterpret_cast<id*>(reinterpret_cast<char*>(controller) + ivar_getOffset(ivar)) = view;
  }

  // Enters edit mode, asks to leave it, then ends a deceleration: what the
  // controller's own methods saw.
  static std::vector<std::string> leaveAndEnd(id controller) {
    send(controller, "setIsEditing:", BOOL(YES));
    send(controller, "setIsEditing:", BOOL(NO));
    send(controller, "scrollViewDidEndDecelerating:", nil);
    return calls;
  }

 private:
  std::vector<id> objects_;
};

const std::vector<std::string> kForwardedAtOnce{"setIsEditing: 1", "setIsEditing: 0", "scrollViewDidEndDecelerating:"};

TEST_F(EditDeferInProcess, ADeceleratingScrollViewHoldsTheExitBack) {
  // The control case: the hooks are in place.
  id controller = make("ControllerWithScrollView");
  setScrollView(controller, make("DeceleratingView"));
  EXPECT_EQ(leaveAndEnd(controller), (std::vector<std::string>{"setIsEditing: 1", "scrollViewDidEndDecelerating:"}));
  EXPECT_TRUE(send<BOOL>(controller, "isEditing"));
}

TEST_F(EditDeferInProcess, AClassWithoutScrollViewVariableForwardsTheExit) {
  id controller = make("SBIconController");
  EXPECT_EQ(leaveAndEnd(controller), kForwardedAtOnce);
  EXPECT_FALSE(send<BOOL>(controller, "isEditing"));
}

TEST_F(EditDeferInProcess, AScrollViewVariableThatHoldsNoObjectForwardsTheExit) {
  id controller = make("ControllerWithNumberScrollView");
  EXPECT_EQ(leaveAndEnd(controller), kForwardedAtOnce);
  EXPECT_FALSE(send<BOOL>(controller, "isEditing"));
}

TEST_F(EditDeferInProcess, ANilScrollViewIsNotDecelerating) {
  id controller = make("ControllerWithScrollView");
  EXPECT_EQ(leaveAndEnd(controller), kForwardedAtOnce);
  EXPECT_FALSE(send<BOOL>(controller, "isEditing"));
}

}  // namespace
