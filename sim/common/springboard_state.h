#pragma once

// SpringBoard's visible state in the simulation (badges, status-bar items,
// airplane mode), kept in "/private/var/sim/springboard.plist" so that every
// stand-in and the simulated SpringBoard see the same thing.

#include <functional>

#include "platform/plist/plist.h"

namespace sim {

inline constexpr const char* kStatePath = "/private/var/sim/springboard.plist";

// Keys of the state dictionary.
inline constexpr const char* kBadgesKey = "badges";                  // bundle id -> number or text
inline constexpr const char* kStatusBarItemsKey = "statusBarItems";  // item name -> owner id
inline constexpr const char* kAirplaneModeKey = "airplaneMode";      // boolean

// The state as stored; empty when nothing has been stored yet.
platform::plist::Dictionary readSpringBoardState();
// Reads the state, lets change edit it and writes it back.
void updateSpringBoardState(const std::function<void(platform::plist::Dictionary&)>& change);

}  // namespace sim
