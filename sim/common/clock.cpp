#include "sim/common/clock.h"

#include <cerrno>
#include <cstdlib>

#include "platform/text.h"

namespace sim {

namespace {

constexpr std::string_view kForm = "2009-06-17T09:41:00";

// The number of digits from at, or nothing when one of them is not a digit.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (char c : text.substr(at, count)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::string_view> setting() {
  const char* value = std::getenv(kClockVariable);
  if (!value || !*value) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::time_t> parseLocalTime(std::string_view text, std::string& why) {
  why = "not a local time of the form " + std::string(kForm);
  if (text.size() != kForm.size()) return std::nullopt;
  for (std::size_t at : {4, 7, 10, 13, 16})
    if (text[at] != kForm[at]) return std::nullopt;
  std::optional<int> year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2),
                     hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (*month < 1 || *month > 12 || *day < 1 || *day > 31) {
    why = "no such day";
    return std::nullopt;
  }
  // No leap second: the clocks of the day never showed one.
  if (*hour > 23 || *minute > 59 || *second > 59) {
    why = "no such time of day";
    return std::nullopt;
  }
  std::tm local{};
  local.tm_year = *year - 1900;
  local.tm_mon = *month - 1;
  local.tm_mday = *day;
  local.tm_hour = *hour;
  local.tm_min = *minute;
  local.tm_sec = *second;
  local.tm_isdst = -1;  // the zone says whether summer time applies
  std::tm asked = local;
  errno = 0;
  std::time_t moment = std::mktime(&local);
  // -1 is also a real moment (a second before 1970 in UTC): errno tells.
  if (moment == -1 && errno != 0) {
    why = "beyond the system's time";
    return std::nullopt;
  }
  // mktime moves what does not exist (30 February, an hour the zone skips)
  // to a day or hour that does.
  if (local.tm_year != asked.tm_year || local.tm_mon != asked.tm_mon || local.tm_mday != asked.tm_mday) {
    why = "no such day";
    return std::nullopt;
  }
  if (local.tm_hour != asked.tm_hour || local.tm_min != asked.tm_min || local.tm_sec != asked.tm_sec) {
    why = "skipped by the local time zone";
    return std::nullopt;
  }
  return moment;
}

bool clockSettingIsValid(std::string& problem) {
  std::optional<std::string_view> value = setting();
  if (!value) return true;
  std::string why;
  if (parseLocalTime(*value, why)) return true;
  problem = std::string(kClockVariable) + ": " + why + ": " +
            platform::escapeControlBytes(*value, platform::ControlEscapes::hex);
  return false;
}

std::time_t deviceTime() {
  static const std::optional<std::time_t> fixed = [] {
    std::string why;
    std::optional<std::string_view> value = setting();
    return value ? parseLocalTime(*value, why) : std::nullopt;
  }();
  return fixed ? *fixed : std::time(nullptr);
}

}  // namespace sim
