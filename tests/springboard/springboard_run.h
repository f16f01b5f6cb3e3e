#pragma once

// Running the simulated SpringBoard in a temporary device root.

#include <optional>
#include <string>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/support/device.h"

namespace springboard_e2e {

inline constexpr const char* kIconStatePath = "/var/mobile/Library/SpringBoard/IconState.plist";

// Journal lines of SpringBoard's own implementations.
inline const std::string kDeleteIconState = "-[SBIconModel deleteIconState]";
inline const std::string kNoteIconStateChanged = "-[SBIconModel noteIconStateChangedExternally]";
inline const std::string kSetEditingOn = "-[SBIconController setIsEditing:]\t1";
inline const std::string kSetEditingOff = "-[SBIconController setIsEditing:]\t0";
inline const std::string kEndDeceleratingIcon = "-[SBIconController scrollViewDidEndDecelerating:]\ticon";
inline const std::string kEndDeceleratingOther = "-[SBIconController scrollViewDidEndDecelerating:]\tother";

enum class Extensions { loaded, none };

// Runs springboard -c script, with or without --no-extensions.
e2e::Result runScript(const e2e::TemporaryDevice& device, const std::string& script,
                      Extensions extensions = Extensions::loaded);

// Writes value as the icon state file (XML), replacing what is there.
void writeIconState(const e2e::TemporaryDevice& device, const platform::plist::Value& value);
// The icon state file as a property list; nothing when it is missing or unreadable.
std::optional<platform::plist::Value> readIconState(const e2e::TemporaryDevice& device);
bool iconStateExists(const e2e::TemporaryDevice& device);

// The "edit mode: ..." line of the status output, or empty.
std::string editModeLine(const std::string& statusOutput);

}  // namespace springboard_e2e
