#pragma once

// SpringBoard's preferences file: where it is, who owns it, and how a change
// to it is announced.

#include <optional>
#include <string>

#include "platform/device_path.h"
#include "platform/plist/plist.h"

namespace homeprefs {

using platform::kSpringBoardPreferencesPath;
// The application whose preferences they are, named in every announcement.
inline constexpr const char* kNotificationId = "com.apple.springboard";
// The mobile user, who must own the file for SpringBoard to keep using it.
inline constexpr platform::Owner kMobileUser{501, 501};

// Under the preferences lock, replaces the file atomically with the bytes,
// owned by the mobile user, and removes what killed runs left. A failed write
// ends the run with status 1; an owner that cannot be set is only a warning.
void savePreferences(const platform::plist::Encoded& file);

// Tells SpringBoard, through GraphicsServices, that the key changed. A missing
// library or entry point ends the run with status 1.
void announceChange(const std::string& key);

}  // namespace homeprefs
