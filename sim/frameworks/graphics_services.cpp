// GraphicsServices stand-in: announcing a changed preference to an application.

#include <string>

#include "platform/plist.h"
#include "sim/common/journal.h"

using platform::plist::Value;

namespace {
std::string textOf(const Value* value) {
  if (!value) return "";
  if (auto s = value->get<std::string>()) return *s;
  return platform::plist::description(*value);
}
}  // namespace

extern "C" void GSSendAppPreferencesChanged(const Value* applicationId, const Value* key) {
  sim::journal("GSSendAppPreferencesChanged", {textOf(applicationId), textOf(key)});
}
