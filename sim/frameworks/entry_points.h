#pragma once

// The stand-ins' C entry points, declared once: each stand-in defines its own
// against these declarations (a definition of other types does not compile),
// and the seam test holds them to the types the product calls them with.
// Across this interface go C scalars, C strings and objects, as on the
// device: never a value of the kit's.

#include <objc/objc.h>

#include <cstdint>

extern "C" {

// SpringBoardServices
std::uint32_t SBSSpringBoardServerPort();
void SBSetApplicationBadgeNumber(std::uint32_t port, const char* bundleId, std::int32_t number);
void SBSetApplicationBadge(std::uint32_t port, const char* bundleId, const char* text);
void SBAddStatusBarItem(std::uint32_t port, const char* owner, const char* name);
void SBRemoveStatusBarItem(std::uint32_t port, const char* name, const char*, const char*);
void SBSetAirplaneModeEnabled(std::uint32_t port, std::int32_t enabled);
id SBGetLastWiFiScanDictionary(std::uint32_t port);

// GraphicsServices
void GSSendAppPreferencesChanged(id applicationId, id key);

}  // extern "C"
