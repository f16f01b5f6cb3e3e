#pragma once

// The time the simulated device shows. SBKIT_CLOCK, a local time such as
// 2009-06-17T09:41:00, makes it stand still there, so that pictures of the same
// state are the same to the byte; unset or empty, the device follows the
// machine's clock. The journal keeps the machine's time either way: it tells
// when things happened, not what the screen said.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

inline constexpr const char* kClockVariable = "SBKIT_CLOCK";

// The moment a local time of the form 2009-06-17T09:41:00 names in the
// machine's time zone. Nothing, with why set to what is wrong, when the text
// has another form, names no such day or hour, or a time the zone skips (a
// change to summer time) or that the system's time cannot hold.
std::optional<std::time_t> parseLocalTime(std::string_view text, std::string& why);

// Checks SBKIT_CLOCK: false, with problem set to a whole message line
// (without the program's name), when it is set to a value parseLocalTime refuses.
bool clockSettingIsValid(std::string& problem);

// SBKIT_CLOCK's time when it holds a good one, the machine's time otherwise.
std::time_t deviceTime();

}  // namespace sim
