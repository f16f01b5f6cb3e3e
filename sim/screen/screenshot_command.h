#pragma once

// The screenshot command: "screenshot FILE.png [PAGE]" draws what the screen
// shows now, with page PAGE (from 1) of the icons, and writes it to FILE, a
// path of this machine rather than of the device.

#include <cstddef>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_catalog.h"
#include "platform/plist/plist.h"
#include "screen.h"

namespace screen {

inline constexpr const char* kScreenshotUsage = "screenshot FILE.png [PAGE]";

// What SpringBoard holds that the picture shows, filled by its caller. The
// rest comes from the device's files: the carrier's name from SpringBoard's
// preferences, the applications' pictures and SpringBoard's images.
struct DeviceView {
  // The applications SpringBoard knows, asked for only when there is a picture to draw.
  const AppCatalog& (*applications)() = nullptr;
  const platform::plist::Value* iconState = nullptr;  // the model's; null when it holds none
  bool editing = false;
  bool locked = false;
  std::string frontApplication;  // its identifier; empty: none
  std::size_t currentPage = 1;   // from 1: what a screenshot without PAGE shows
  // Identifier to the text its badge shows: a number as digits, a text as it is.
  std::map<std::string, std::string, std::less<>> badges;
  std::vector<std::string> statusBarItems;  // in the order they were added
  bool airplaneMode = false;
  std::time_t now = 0;  // the time the device shows (sim::deviceTime())
};

// The screen that view shows with page page of its icons; nothing when the
// icon state has no such page.
std::optional<Screen> screenOf(const DeviceView& view, std::size_t page);

// Runs the command with the words after "screenshot". False after an error
// line on standard error, and then no file is written; fallbacks are noted on
// standard error too.
// The page WORD names, from 1, when the icon state has it; otherwise nothing,
// after "springboard: COMMAND: bad page number WORD" or "springboard: COMMAND:
// no page N: the home screen has M pages" on standard error.
std::optional<std::size_t> existingPage(std::string_view command, std::string_view word,
                                        const platform::plist::Value* iconState);

bool screenshotCommand(const std::vector<std::string_view>& arguments, const DeviceView& view);

}  // namespace screen
