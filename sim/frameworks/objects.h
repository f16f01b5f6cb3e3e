#pragma once

// The stand-ins' objects library (objects.mm): UIKit's classes, and the
// objects the stand-ins hand over. UIKit and SpringBoardServices open it from
// the device root they were opened from, unless the process links it.

#include <objc/objc.h>

namespace sim {

inline constexpr const char* kObjectsLibraryPath =
    "/System/Library/PrivateFrameworks/SimulatorObjects.framework/SimulatorObjects";
inline constexpr const char* kObjectsLibrarySoname = "SimulatorObjects";
inline constexpr const char* kPropertyListObjectSymbol = "SimulatorPropertyListObject";

// SimulatorPropertyListObject(device path): the property list stored there
// as an autoreleased object (the caller does not own it, and needs a pool);
// nil when the file is missing or no property list.
using PropertyListObjectFunction = id (*)(const char* devicePath);

inline constexpr const char* kPreferencesChangedSymbol = "SimulatorPreferencesChanged";
// SimulatorPreferencesChanged(application id, key): journals the announcement
// of a changed preference; anything but a string object is an empty field.
using PreferencesChangedFunction = void (*)(id applicationId, id key);

// Opens the library for good; null when it cannot be loaded.
void* openObjectsLibrary();

}  // namespace sim
