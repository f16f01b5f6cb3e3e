// layoutkeeper: when SpringBoard is about to delete an icon layout holding
// duplicate icons, the duplicates are removed from the file instead and
// SpringBoard reloads it; otherwise the deletion goes ahead.

#include <substrate.h>

#include <optional>
#include <string>
#include <utility>

#include "icon_lists.h"
#include "platform/message.h"
#include "platform/object_bridge.h"
#include "platform/plist/plist.h"

namespace {

using platform::implementationCast;
using platform::send;
using platform::plist::Dictionary;
using platform::plist::Value;

// SBIconModel's deleteIconState as it was before the hook.
IMP previousDeleteIconState = nullptr;

void callPreviousDeleteIconState(id self, SEL cmd) {
  implementationCast<void (*)(id, SEL)>(previousDeleteIconState)(self, cmd);
}

// Writes the pruned state over the icon state file and has the model reload
// it; false, with nothing announced, when the file could not be written.
bool replaceIconState(id model, Dictionary pruned) {
  std::optional<std::string> path = platform::utf8Text(send<id>(model, "iconStatePath"));
  if (!path || platform::plist::write(*path, Value(std::move(pruned))) != platform::WriteResult::written) return false;
  send(model, "noteIconStateChangedExternally");
  return true;
}

void replacementDeleteIconState(id self, SEL cmd) {
  // The model's state is a dictionary object; the walk prunes its value.
  std::optional<Value> state = platform::valueOf(send<id>(self, "_iconState"));
  const Dictionary* dictionary = state ? state->get<Dictionary>() : nullptr;
  // A state of a shape the walk does not know gives nothing and is left to
  // SpringBoard untouched.
  auto pruned = dictionary ? layoutkeeper::iconStateWithoutDuplicates(*dictionary) : std::nullopt;
  // A failed write leaves the old file; SpringBoard's own deletion then keeps
  // the model and the file in step.
  bool replaced = pruned && pruned->droppedAny && replaceIconState(self, std::move(pruned->state));
  if (!replaced) callPreviousDeleteIconState(self, cmd);
}

__attribute__((constructor)) void installReplacement() {
  MSHookMessageEx(objc_getClass("SBIconModel"), sel_registerName("deleteIconState"),
                  implementationCast<IMP>(replacementDeleteIconState), &previousDeleteIconState);
}

}  // namespace
