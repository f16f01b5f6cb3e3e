#include "screen.h"

#include "sim/common/springboard_state.h"

namespace screen {

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

// The time as the status bar shows it: "9:41 AM".
std::string clockText(std::time_t now) {
  std::tm local{};
  if (!localtime_r(&now, &local)) return "";
  char text[16];
  std::size_t length = std::strftime(text, sizeof text, "%l:%M %p", &local);
  std::string clock(text, length);
  clock.erase(0, clock.find_first_not_of(' '));  // %l pads the hour with a blank
  return clock;
}

}  // namespace

StatusBar statusBarOf(const Dictionary& visibleState, const Dictionary& preferences, std::time_t now) {
  StatusBar bar;
  if (const std::string* name = preferences.get<std::string>("SBCarrierDisplayName")) bar.carrier = *name;
  bar.clock = clockText(now);
  if (const Dictionary* items = visibleState.get<Dictionary>(sim::kStatusBarItemsKey))
    for (const auto& item : items->entries()) bar.items.push_back(item.key);
  bar.airplaneMode = visibleState.isTrue(sim::kAirplaneModeKey);
  return bar;
}

std::map<std::string, std::string, std::less<>> badgesOf(const Dictionary& visibleState) {
  std::map<std::string, std::string, std::less<>> badges;
  if (const Dictionary* entries = visibleState.get<Dictionary>(sim::kBadgesKey))
    for (const auto& [identifier, value] : entries->entries()) {
      std::string text;
      if (const std::int64_t* number = value.get<std::int64_t>()) text = *number ? std::to_string(*number) : "";
      else if (const std::string* string = value.get<std::string>()) text = *string;
      if (!text.empty()) badges[identifier] = text;
    }
  return badges;
}

}  // namespace screen
