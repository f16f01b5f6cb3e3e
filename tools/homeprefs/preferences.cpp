#include "tools/homeprefs/preferences.h"

#include <err.h>

#include "bindings/frameworks.h"
#include "platform/object_bridge.h"

namespace homeprefs {

using platform::WriteResult;

void savePreferences(const platform::plist::Encoded& file) {
  WriteResult result = platform::plist::write(kSpringBoardPreferencesPath, file, kMobileUser);
  if (result != WriteResult::failed) platform::removeLeftoverTemporaries(kSpringBoardPreferencesPath);
  switch (result) {
    case WriteResult::written: return;
    case WriteResult::writtenWithoutOwner:
      warnx("cannot give %s to user %u and group %u", kSpringBoardPreferencesPath, kMobileUser.user, kMobileUser.group);
      return;
    case WriteResult::failed: errx(1, "cannot write %s", kSpringBoardPreferencesPath);
  }
}

void announceChange(const std::string& key) {
  bindings::Framework graphicsServices = bindings::Framework::openOrExit(bindings::kGraphicsServicesPath);
  auto sendAppPreferencesChanged = SBKIT_ENTRY_POINT(graphicsServices, GSSendAppPreferencesChanged);
  platform::Object applicationId = platform::stringObject(kNotificationId), changedKey = platform::stringObject(key);
  sendAppPreferencesChanged(applicationId.get(), changedKey.get());
}

}  // namespace homeprefs
