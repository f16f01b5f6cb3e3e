#pragma once

// What SpringBoard shows in the simulation (badges, status-bar items, airplane
// mode), as the stand-ins keep it in the device root.

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/plist/plist.h"
#include "tests/support/device.h"

namespace e2e {

// The value under key in the visible state ("badges", "statusBarItems",
// "airplaneMode"); nothing when it was never set.
inline std::optional<platform::plist::Value> visibleState(const TemporaryDevice& device, const char* key) {
  auto state = platform::plist::parse([&] {
    std::ifstream in(device.host("/private/var/sim/springboard.plist"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }());
  const auto* top = state ? state->get<platform::plist::Dictionary>() : nullptr;
  const platform::plist::Value* value = top ? top->find(key) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

// The entry under name in a dictionary of the visible state, such as one
// application's badge.
inline std::optional<platform::plist::Value> visibleEntry(const TemporaryDevice& device, const char* key,
                                                          const std::string& name) {
  auto section = visibleState(device, key);
  const auto* entries = section ? section->get<platform::plist::Dictionary>() : nullptr;
  const platform::plist::Value* value = entries ? entries->find(name) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

}  // namespace e2e
