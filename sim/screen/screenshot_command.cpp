#include "screenshot_command.h"

#include <charconv>

#include "platform/device_path.h"
#include "png_image.h"
#include "screenshot.h"

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

std::optional<Screen> screenOf(const DeviceView& view, std::size_t page) {
  std::optional<HomePage> shown = homePage(view.iconState, page);
  if (!shown) return std::nullopt;
  Screen screen;
  screen.page = std::move(*shown);
  screen.pageNumber = page;
  if (!localtime_r(&view.now, &screen.now)) screen.now = std::tm{};
  platform::plist::Dictionary preferences =
      platform::plist::readDictionary(platform::kSpringBoardPreferencesPath).value_or(platform::plist::Dictionary{});
  screen.statusBar = statusBarOf(preferences, view.statusBarItems, view.airplaneMode, view.locked, screen.now);
  screen.badges = view.badges;
  screen.editing = view.editing;
  screen.locked = view.locked;
  screen.frontApplication = view.frontApplication;
  return screen;
}

std::optional<std::size_t> existingPage(std::string_view command, std::string_view word,
                                        const platform::plist::Value* iconState) {
  std::optional<std::size_t> page = pageNumber(word);
  if (!page) {
    std::fprintf(stderr, "springboard: %.*s: bad page number %.*s\n", int(command.size()), command.data(),
                 int(word.size()), word.data());
    return std::nullopt;
  }
  if (std::size_t pages = homePageCount(iconState); *page > pages) {
    std::fprintf(stderr, "springboard: %.*s: no page %zu: the home screen has %zu page%s\n", int(command.size()),
                 command.data(), *page, pages, pages == 1 ? "" : "s");
    return std::nullopt;
  }
  return page;
}

bool screenshotCommand(const std::vector<std::string_view>& arguments, const DeviceView& view) {
  if (arguments.empty() || arguments.size() > 2) {
    std::fprintf(stderr, "springboard: usage: %s\n", kScreenshotUsage);
    return false;
  }
  std::string file(arguments[0]);
  std::optional<std::size_t> page =
      arguments.size() == 2 ? existingPage("screenshot", arguments[1], view.iconState) : view.currentPage;
  if (!page) return false;
  std::optional<Screen> screen = screenOf(view, *page);
  if (!screen) {
    std::size_t pages = homePageCount(view.iconState);
    std::fprintf(stderr, "springboard: screenshot: no page %zu: the home screen has %zu page%s\n", *page, pages,
                 pages == 1 ? "" : "s");
    return false;
  }
  Surface picture = drawScreen(*screen, view.applications(), stderr);
  std::string why;
  if (!writePng(picture.get(), file, why)) {
    std::fprintf(stderr, "springboard: cannot write %s: %s\n", file.c_str(), why.c_str());
    return false;
  }
  return true;
}

}  // namespace screen
