#pragma once

// The screenshot command: "screenshot FILE.png [PAGE]" draws page PAGE (from
// 1, the first by default) of the icon state as the screen shows it now and
// writes it to FILE, a path of this machine rather than of the device.

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/plist.h"

namespace screen {

inline constexpr const char* kScreenshotUsage = "screenshot FILE.png [PAGE]";

// Runs the command with the words after "screenshot". The icon state is the
// model's (null when it holds none). False after an error line on standard
// error, and then no file is written; fallbacks are noted on standard error too.
bool screenshotCommand(const std::vector<std::string_view>& arguments, const platform::plist::Value* iconState,
                       bool editing);

}  // namespace screen
