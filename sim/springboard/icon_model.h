#pragma once

// SBIconModel: the icon layout SpringBoard holds, loaded from the icon state file.
//
//   -(const platform::plist::Value*)_iconState   the state in force, or null
//   -(const char*)iconStatePath                   the icon state file's device path
//   -(void)noteIconStateChangedExternally         reloads the state from the file
//   -(void)deleteIconState                        removes the file and the state

#include <objc/runtime.h>

namespace springboard {

inline constexpr const char* kIconStatePath = "/var/mobile/Library/SpringBoard/IconState.plist";

// Defines the class; the superclass is the program's root class.
Class defineIconModel(Class root);

// A model holding the state read from the icon state file.
id newIconModel();
void disposeIconModel(id model);

}  // namespace springboard
