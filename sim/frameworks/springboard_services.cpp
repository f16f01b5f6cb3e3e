// SpringBoardServices stand-in: the private entry points through which other
// processes ask SpringBoard for badges, status-bar items and radio settings.
// Each call is journalled and its effect kept in SpringBoard's visible state.

#include <dlfcn.h>
#include <objc/objc.h>

#include <cstdint>
#include <string>

#include "bindings/frameworks.h"
#include "platform/plist/plist.h"
#include "sim/common/journal.h"
#include "sim/common/springboard_state.h"
#include "sim/frameworks/objects.h"

using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

constexpr std::uint32_t kServerPort = 0x1d03;

// The dictionary under key in state, created when missing or of another kind.
Dictionary& section(Dictionary& state, const char* key) {
  if (!state.get<Dictionary>(key)) state.set(key, Dictionary{});
  return *state.find(key)->get<Dictionary>();
}

const char* orEmpty(const char* s) { return s ? s : ""; }

}  // namespace

extern "C" {

std::uint32_t SBSSpringBoardServerPort() {
  sim::journal("SBSSpringBoardServerPort");
  return kServerPort;
}

// A badge of 0 takes the badge off, as on the home screen.
void SBSetApplicationBadgeNumber(std::uint32_t, const char* bundleId, std::int32_t number) {
  std::string id = orEmpty(bundleId);
  sim::journal("SBSetApplicationBadgeNumber", {id, std::to_string(number)});
  sim::updateSpringBoardState([&](Dictionary& state) {
    Dictionary& badges = section(state, sim::kBadgesKey);
    if (number == 0) badges.erase(id);
    else badges.set(id, Value(std::int64_t{number}));
  });
}

// An empty text takes the badge off.
void SBSetApplicationBadge(std::uint32_t, const char* bundleId, const char* text) {
  std::string id = orEmpty(bundleId), badge = orEmpty(text);
  sim::journal("SBSetApplicationBadge", {id, badge});
  sim::updateSpringBoardState([&](Dictionary& state) {
    Dictionary& badges = section(state, sim::kBadgesKey);
    if (badge.empty()) badges.erase(id);
    else badges.set(id, Value(badge));
  });
}

void SBAddStatusBarItem(std::uint32_t, const char* owner, const char* name) {
  std::string item = orEmpty(name), ownerId = orEmpty(owner);
  sim::journal("SBAddStatusBarItem", {ownerId, item});
  sim::updateSpringBoardState(
      [&](Dictionary& state) { section(state, sim::kStatusBarItemsKey).set(item, Value(ownerId)); });
}

// Callers pass the name in the two following positions as well; only the first counts.
void SBRemoveStatusBarItem(std::uint32_t, const char* name, const char*, const char*) {
  std::string item = orEmpty(name);
  sim::journal("SBRemoveStatusBarItem", {item});
  sim::updateSpringBoardState([&](Dictionary& state) { section(state, sim::kStatusBarItemsKey).erase(item); });
}

void SBSetAirplaneModeEnabled(std::uint32_t, std::int32_t enabled) {
  sim::journal("SBSetAirplaneModeEnabled", {enabled ? "1" : "0"});
  sim::updateSpringBoardState([&](Dictionary& state) { state.set(sim::kAirplaneModeKey, Value(enabled != 0)); });
}

// A dictionary object the caller does not own: it is autoreleased, into the
// caller's pool. Nil when no scan is stored.
id SBGetLastWiFiScanDictionary(std::uint32_t) {
  sim::journal("SBGetLastWiFiScanDictionary");
  void* objects = sim::openObjectsLibrary();
  auto scan = objects
                  ? reinterpret_cast<sim::PropertyListObjectFunction>(dlsym(objects, sim::kPropertyListObjectSymbol))
                  : nullptr;
  return scan ? scan("/private/var/sim/wifi-scan.plist") : nil;
}

}  // extern "C"
