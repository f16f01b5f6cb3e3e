#include "screenshot_command.h"

#include <charconv>
#include <ctime>
#include <optional>
#include <string>

#include "app_catalog.h"
#include "png_image.h"
#include "screen.h"
#include "screenshot.h"
#include "platform/device_path.h"
#include "sim/common/springboard_state.h"

namespace screen {

namespace {

// A page number: decimal digits only, from 1.
std::optional<std::size_t> pageNumber(std::string_view word) {
  std::size_t number = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
  if (error != std::errc() || end != word.data() + word.size() || number == 0) return std::nullopt;
  return number;
}

}  // namespace

bool screenshotCommand(const std::vector<std::string_view>& arguments, const platform::plist::Value* iconState,
                       bool editing) {
  if (arguments.empty() || arguments.size() > 2) {
    std::fprintf(stderr, "springboard: usage: %s\n", kScreenshotUsage);
    return false;
  }
  std::string file(arguments[0]);
  std::optional<std::size_t> page = arguments.size() == 2 ? pageNumber(arguments[1]) : 1;
  if (!page) {
    std::fprintf(stderr, "springboard: screenshot: bad page number %.*s\n", int(arguments[1].size()),
                 arguments[1].data());
    return false;
  }
  Screen screen;
  std::optional<HomePage> shown = homePage(iconState, *page);
  if (!shown) {
    std::size_t pages = homePageCount(iconState);
    std::fprintf(stderr, "springboard: screenshot: no page %zu: the home screen has %zu page%s\n", *page, pages,
                 pages == 1 ? "" : "s");
    return false;
  }
  screen.page = std::move(*shown);
  screen.pageNumber = *page;
  platform::plist::Dictionary visible = sim::readSpringBoardState();
  platform::plist::Dictionary preferences =
      platform::plist::readDictionary(platform::kSpringBoardPreferencesPath).value_or(platform::plist::Dictionary{});
  screen.statusBar = statusBarOf(visible, preferences, std::time(nullptr));
  screen.badges = badgesOf(visible);
  screen.editing = editing;

  Surface picture = drawScreen(screen, AppCatalog::scan(), stderr);
  std::string why;
  if (!writePng(picture.get(), file, why)) {
    std::fprintf(stderr, "springboard: cannot write %s: %s\n", file.c_str(), why.c_str());
    return false;
  }
  return true;
}

}  // namespace screen
