#include "screen.h"

#include "sim/common/springboard_state.h"

namespace screen {

namespace {

using platform::plist::Dictionary;

// The device's language is English: names are the program's own, whatever
// locale the machine runs in.
constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

int twelveHour(const std::tm& now) { return now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12; }

std::string minutes(const std::tm& now) {
  return std::string(1, char('0' + now.tm_min / 10)) + char('0' + now.tm_min % 10);
}

const char* weekday(const std::tm& now) { return kWeekdays[unsigned(now.tm_wday) % 7]; }

}  // namespace

std::string lockClockText(const std::tm& now) { return std::to_string(twelveHour(now)) + ":" + minutes(now); }

std::string statusClockText(const std::tm& now) { return lockClockText(now) + (now.tm_hour < 12 ? " AM" : " PM"); }

std::string dateText(const std::tm& now) {
  return std::string(weekday(now)) + ", " + kMonths[unsigned(now.tm_mon) % 12] + " " + std::to_string(now.tm_mday);
}

std::string weekdayText(const std::tm& now) { return std::string(weekday(now), 3); }

StatusBar statusBarOf(const Dictionary& preferences, std::vector<std::string> items, bool airplaneMode, bool locked,
                      const std::tm& now) {
  StatusBar bar;
  if (const std::string* name = preferences.get<std::string>("SBCarrierDisplayName")) bar.carrier = *name;
  if (locked) bar.padlock = true;
  else bar.clock = statusClockText(now);
  bar.items = std::move(items);
  bar.airplaneMode = airplaneMode;
  return bar;
}

std::optional<std::string> shownBadge(const platform::plist::Value& badge) {
  const std::int64_t* number = badge.get<std::int64_t>();
  if (number && *number == 0) return std::nullopt;
  std::string text = platform::plist::description(badge);
  if (text.empty()) return std::nullopt;
  return text;
}

std::map<std::string, std::string, std::less<>> badgesOf(const Dictionary& visibleState) {
  std::map<std::string, std::string, std::less<>> badges;
  if (const Dictionary* entries = visibleState.get<Dictionary>(sim::kBadgesKey))
    for (const auto& [identifier, value] : entries->entries())
      if (value.is<std::int64_t>() || value.is<std::string>())
        if (std::optional<std::string> text = shownBadge(value)) badges[identifier] = *text;
  return badges;
}

std::vector<std::string> statusBarItemsOf(const Dictionary& visibleState) {
  std::vector<std::string> items;
  if (const Dictionary* entries = visibleState.get<Dictionary>(sim::kStatusBarItemsKey))
    for (const auto& item : entries->entries()) items.push_back(item.key);
  return items;
}

}  // namespace screen
