// editdefer: a request to leave icon edit mode while the icon pages are still
// decelerating is held back, and sent again once a deceleration has ended.

#include <substrate.h>

#include <cstring>

#include "platform/message.h"

namespace {

using platform::implementationCast;
using platform::send;

// SBIconController's methods as they were before the hooks.
IMP previousSetIsEditing = nullptr;
IMP previousScrollViewDidEndDecelerating = nullptr;

// 1 while a request to leave edit mode waits for the end of a deceleration.
unsigned char editingExitPending = 0;

void callPreviousSetIsEditing(id self, SEL cmd, BOOL editing) {
  implementationCast<void (*)(id, SEL, BOOL)>(previousSetIsEditing)(self, cmd, editing);
}

void callPreviousScrollViewDidEndDecelerating(id self, SEL cmd, id scrollView) {
  implementationCast<void (*)(id, SEL, id)>(previousScrollViewDidEndDecelerating)(self, cmd, scrollView);
}

// The receiver's icon scroll view. False when its class has no object
// variable "_scrollView", so there is nothing to ask.
bool iconScrollView(id controller, id* scrollView) {
  Ivar ivar = class_getInstanceVariable(object_getClass(controller), "_scrollView");
  const char* type = ivar ? ivar_getTypeEncoding(ivar) : nullptr;
  if (type == nullptr || type[0] != '@') return false;
  std::memcpy(scrollView, reinterpret_cast<char*>(controller) + ivar_getOffset(ivar), sizeof *scrollView);
  return true;
}

void replacementSetIsEditing(id self, SEL cmd, BOOL editing) {
  if (editing || !send<BOOL>(self, "isEditing")) return callPreviousSetIsEditing(self, cmd, editing);
  id scrollView = nil;
  // A nil scroll view answers NO: it is not moving.
  if (!iconScrollView(self, &scrollView) || !send<BOOL>(scrollView, "isDecelerating"))
    return callPreviousSetIsEditing(self, cmd, editing);
  editingExitPending = 1;
}

void replacementScrollViewDidEndDecelerating(id self, SEL cmd, id scrollView) {
  callPreviousScrollViewDidEndDecelerating(self, cmd, scrollView);
  if (!editingExitPending) return;
  // Through dispatch, so the request is judged again by replacementSetIsEditing.
  send(self, "setIsEditing:", BOOL(NO));
  // Cleared after the resend, not before, on purpose: a resent request that
  // is held back again (the view still decelerating) sets the flag, and this
  // clears it, so that request is dropped and edit mode stays on, as on the
  // device. Clearing first would keep it pending for the next deceleration.
  editingExitPending = 0;
}

__attribute__((constructor)) void installReplacements() {
  Class controller = objc_getClass("SBIconController");
  MSHookMessageEx(controller, sel_registerName("setIsEditing:"), implementationCast<IMP>(replacementSetIsEditing),
                  &previousSetIsEditing);
  MSHookMessageEx(controller, sel_registerName("scrollViewDidEndDecelerating:"),
                  implementationCast<IMP>(replacementScrollViewDidEndDecelerating),
                  &previousScrollViewDidEndDecelerating);
}

}  // namespace
