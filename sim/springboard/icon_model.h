#pragma once

// SBIconModel: the icon layout SpringBoard holds, loaded from the icon state
// file. An NSObject subclass, with SpringBoard's own interface:
//
//   -(NSDictionary*)_iconState           the state in force, or nil
//   -(NSString*)iconStatePath            the icon state file's device path
//   -(void)noteIconStateChangedExternally   reloads the state from the file
//   -(void)deleteIconState               removes the file and the state

#include <objc/objc.h>

namespace springboard {

inline constexpr const char* kIconStatePath = "/var/mobile/Library/SpringBoard/IconState.plist";

// A model holding the state read from the icon state file; the caller owns it.
id newIconModel();
void disposeIconModel(id model);

}  // namespace springboard
