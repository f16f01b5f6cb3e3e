#pragma once

// The SpringBoard services binding: SpringBoard's private entry points, found
// at the moment of use. Each operation opens its library, fetches a fresh
// server port, calls the entry point and closes what it must close.
//
// A library or entry point that cannot be found is never called: the tool
// prints one line on standard error naming it and exits with status 1.

#include <objc/objc.h>

#include <cstdint>
#include <functional>

namespace sbs {

// The owner every status-bar item is added under.
inline constexpr char kStatusBarOwner[19] = "com.tovek.SlimDemo";

// Closes UIKit after the call.
void setApplicationBadgeNumber(const char* bundleId, std::int32_t number);
// Leaves UIKit loaded for the rest of the run, as the device's tools do.
void setApplicationBadge(const char* bundleId, const char* text);
// Leaves UIKit loaded, as setApplicationBadge does.
void addStatusBarItem(const char* name);
// Leaves UIKit loaded, as setApplicationBadge does.
void removeStatusBarItem(const char* name);
// Fetches the port through UIKit and closes it, then calls through
// SpringBoardServices and closes that.
void setAirplaneModeEnabled(bool enabled);
// Reaches SpringBoard as setAirplaneModeEnabled does and hands the last Wi-Fi
// scan, a dictionary object (nil when SpringBoard holds none), to use while
// SpringBoardServices is still open: what a library hands out may rely on its
// code, so the library is closed only after the scan has been used. The
// caller does not own the scan (the Get rule): it comes autoreleased, so the
// caller holds an autorelease pool around this call.
void withLastWiFiScan(const std::function<void(id scan)>& use);

}  // namespace sbs
