#include "objects.h"

#include <objc/runtime.h>

#include <optional>

#include "platform/message.h"
#include "platform/object_bridge.h"
#include "sim/common/springboard_state.h"
#include "sim/screen/screen.h"

namespace springboard {

namespace {

using platform::send;
using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

id classNamed(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

id made(const char* className) { return send<id>(send<id>(classNamed(className), "alloc"), "init"); }

// The object variable name of object; nil when its class has none.
id objectVariable(id object, const char* name) {
  Ivar variable = object ? class_getInstanceVariable(object_getClass(object), name) : nullptr;
  return variable ? object_getIvar(object, variable) : nil;
}

}  // namespace

Objects Objects::make() {
  Objects objects{};
  objects.application = made("SpringBoard");
  objects.model = send<id>(classNamed("SBIconModel"), "sharedInstance");
  objects.iconController = send<id>(classNamed("SBIconController"), "sharedInstance");
  objects.iconScrollView = objectVariable(objects.iconController, "_scrollView");
  objects.otherScrollView = made("UIScrollView");
  objects.applications = send<id>(classNamed("SBApplicationController"), "sharedInstance");
  objects.ui = send<id>(classNamed("SBUIController"), "sharedInstance");
  objects.away = send<id>(classNamed("SBAwayController"), "sharedAwayController");
  objects.statusBar = send<id>(classNamed("SBStatusBarController"), "sharedStatusBarController");
  objects.telephony = send<id>(classNamed("SBTelephonyManager"), "sharedTelephonyManager");
  return objects;
}

Shown shownBy(const Objects& objects) {
  Shown shown;
  shown.editing = send<BOOL>(objects.iconController, "isEditing");
  shown.decelerating = send<BOOL>(objects.iconScrollView, "isDecelerating");
  id icons = objectVariable(objects.model, "_icons");
  if (std::optional<Value> identifiers = platform::valueOf(send<id>(icons, "allKeys")))
    for (const Value& identifier : *identifiers->get<Array>()) {
      const std::string& name = *identifier.get<std::string>();
      platform::Object key = platform::stringObject(name);
      id icon = send<id>(icons, "objectForKey:", key.get());
      if (std::optional<Value> badge = platform::valueOf(send<id>(icon, "badgeNumberOrString")))
        shown.badges.emplace(name, std::move(*badge));
    }
  if (std::optional<Value> items = platform::valueOf(objectVariable(objects.statusBar, "_statusBarItems")))
    for (const Value& item : *items->get<Array>())
      if (const std::string* name = item.get<std::string>()) shown.statusBarItems.push_back(*name);
  shown.airplaneMode = send<BOOL>(objects.telephony, "isInAirplaneMode");
  shown.locked = send<BOOL>(objects.away, "isLocked");
  id front = objectVariable(objects.ui, "_frontApplication");
  shown.frontApplication = platform::utf8Text(send<id>(front, "displayIdentifier")).value_or("");
  shown.page = send<int>(objects.iconController, "currentIconListIndex");
  return shown;
}

std::map<std::string, std::string> deliverToolRequests(const Objects& objects) {
  platform::AutoreleasePool pool;
  Dictionary state = sim::readSpringBoardState();
  if (const Dictionary* badges = state.get<Dictionary>(sim::kBadgesKey))
    for (const auto& [identifier, badge] : badges->entries()) {
      platform::Object key = platform::stringObject(identifier);
      id icon = send<id>(objects.model, "iconForDisplayIdentifier:", key.get());
      // A badge that shows nothing clears the icon's.
      platform::Object value = screen::shownBadge(badge) ? platform::objectOf(badge) : platform::Object();
      send(icon, "setBadge:", static_cast<id>(value.get()));
    }
  std::map<std::string, std::string> owners;
  if (const Dictionary* items = state.get<Dictionary>(sim::kStatusBarItemsKey))
    for (const auto& [item, owner] : items->entries()) {
      platform::Object name = platform::stringObject(item);
      send(objects.statusBar, "addStatusBarItem:", static_cast<id>(name.get()));
      if (const std::string* ownerId = owner.get<std::string>()) owners[item] = *ownerId;
    }
  if (const bool* airplaneMode = state.get<bool>(sim::kAirplaneModeKey))
    send(objects.telephony, "setIsInAirplaneMode:", BOOL(*airplaneMode));
  return owners;
}

}  // namespace springboard
