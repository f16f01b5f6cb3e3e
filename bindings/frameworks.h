#pragma once

// The device's frameworks as the kit binds to them: where each one is and the
// C entry points of the private ones, declared once. The tools look each up
// by name as the type declared here, and each stand-in defines its own against
// the same declaration, so the two cannot disagree and compile. Only C
// scalars, C strings and objects cross, as on the device (checked at the end).

#include <objc/objc.h>

#include <cstdint>
#include <type_traits>

#include "bindings/framework.h"

namespace bindings {

// UIKit: its application object opens URLs, and its handle finds the
// SpringBoardServices entry points too, as the library depends on it.
inline constexpr const char* kUIKitPath = "/System/Library/Framework/UIKit.framework/UIKit";
inline constexpr const char* kSpringBoardServicesPath =
    "/System/Library/PrivateFrameworks/SpringBoardServices.framework/SpringBoardServices";
inline constexpr const char* kGraphicsServicesPath =
    "/System/Library/PrivateFrameworks/GraphicsServices.framework/GraphicsServices";

}  // namespace bindings

extern "C" {

// SpringBoardServices. The server port, which every other call takes first,
// is fetched anew for each call, through UIKit or SpringBoardServices.
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

// The entry point `name` of a framework the kit opened (a Framework),
// as the function declared above; a missing one ends the run with status 1.
#define SBKIT_ENTRY_POINT(framework, name) ((framework).entryPointOrExit<decltype(&name)>(#name))

namespace bindings {

template <class T>
inline constexpr bool kCrossesTheSeam =
    std::is_arithmetic_v<T> || std::is_void_v<T> || std::is_same_v<T, id> || std::is_same_v<T, const char*>;
template <class Function>
inline constexpr bool kOnlyObjectsAndScalars = false;
template <class R, class... A>
inline constexpr bool kOnlyObjectsAndScalars<R(A...)> = kCrossesTheSeam<R> && (kCrossesTheSeam<A> && ...);

static_assert(kOnlyObjectsAndScalars<decltype(SBSSpringBoardServerPort)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBSetApplicationBadgeNumber)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBSetApplicationBadge)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBAddStatusBarItem)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBRemoveStatusBarItem)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBSetAirplaneModeEnabled)>);
static_assert(kOnlyObjectsAndScalars<decltype(SBGetLastWiFiScanDictionary)>);
static_assert(kOnlyObjectsAndScalars<decltype(GSSendAppPreferencesChanged)>);

}  // namespace bindings
