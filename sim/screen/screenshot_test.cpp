// The picture drawn from a DeviceView, probed by place and colour: the lock
// screen, an opening application, the calendar's day, emoji, and the same
// bytes for the same view.

#include "screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "home_layout.h"
#include "screenshot_command.h"
#include "tests/support/plist_literals.h"
#include "tests/support/scratch_root.h"

namespace {

using namespace plist_literals;
namespace fs = std::filesystem;
namespace layout = screen::layout;
using layout::Rect;

struct Rgb {
  int red, green, blue;
};
bool isWhite(Rgb c) { return c.red > 230 && c.green > 230 && c.blue > 230; }
bool isBlack(Rgb c) { return c.red < 8 && c.green < 8 && c.blue < 8; }
bool isGreen(Rgb c) { return c.green > 200 && c.red < 60 && c.blue < 60; }
bool isBlue(Rgb c) { return c.blue > 200 && c.red < 60 && c.green < 60; }
// Far from any grey: a colour a white text and its dark shadow never make.
bool isColoured(Rgb c) { return std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue}) > 80; }

// 2009-06-17T09:41:00 and an hour later, in whatever zone the machine is.
std::time_t localTime(int day, int hour) {
  std::tm local{};
  local.tm_year = 109, local.tm_mon = 5, local.tm_mday = day, local.tm_hour = hour, local.tm_min = 41;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

class ScreenshotDrawing : public ::testing::Test {
 protected:
  ScreenshotDrawing() {
    app("Applications/Green.app", "com.a.green", true);
    app("Applications/Opening.app", "com.a.opening", true);
    solid("Applications/Opening.app/Default.png", 8, 8, {0, 0, 255});
    app("Applications/MobileCal.app", "com.apple.mobilecal", false);
    view_.iconState = &state_;
    view_.now = localTime(17, 9);
  }

  void app(const std::string& folder, const char* identifier, bool green) {
    fs::create_directories(scratch_.path() / folder);
    std::ofstream(scratch_.path() / folder / "Info.plist")
        << platform::plist::toXml(dictionary({{"CFBundleIdentifier", identifier}}));
    solid(folder + "/Icon.png", 57, 57, green ? Rgb{0, 255, 0} : Rgb{255, 255, 255});
  }
  void solid(const std::string& file, int width, int height, Rgb colour) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(image, (scratch_.path() / file).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(image);
  }

  // Draws the view's current page; the notes are kept in notes_.
  screen::Surface draw() {
    std::optional<screen::Screen> shown = screen::screenOf(view_, view_.currentPage);
    EXPECT_TRUE(shown);
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* notes = open_memstream(&text, &size);
    screen::Surface picture = screen::drawScreen(*shown, screen::AppCatalog::scan(), notes);
    std::fclose(notes);
    notes_.assign(text, size);
    std::free(text);
    return picture;
  }
  static Rgb pixel(cairo_surface_t* picture, double x, double y) {
    int px = int(x * layout::kScale), py = int(y * layout::kScale);
    const unsigned char* row = cairo_image_surface_get_data(picture) + py * cairo_image_surface_get_stride(picture);
    std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[px];
    return {int(value >> 16 & 0xff), int(value >> 8 & 0xff), int(value & 0xff)};
  }
  static int count(cairo_surface_t* picture, const Rect& area, const std::function<bool(Rgb)>& kind) {
    int found = 0;
    for (double y = area.y; y < area.bottom(); y += 0.5)
      for (double x = area.x; x < area.right(); x += 0.5) found += kind(pixel(picture, x, y));
    return found;
  }
  static std::string pngBytes(cairo_surface_t* picture) {
    std::string bytes;
    cairo_surface_write_to_png_stream(
        picture,
        [](void* closure, const unsigned char* data, unsigned length) {
          static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
          return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    return bytes;
  }

  ScratchRoot scratch_;
  platform::plist::Value state_ = dictionary({{"iconLists", list(list("com.a.green", "com.apple.mobilecal"))}});
  screen::DeviceView view_;
  std::string notes_;
};

TEST_F(ScreenshotDrawing, TheLockScreenShowsTheTimeAndTheSliderOverTheWallpaperInPlaceOfTheIcons) {
  state_ = dictionary({{"iconLists", list(list("com.a.green"))}});
  screen::Surface home = draw();
  const Rect icon = layout::pageIcon(0);
  EXPECT_TRUE(isGreen(pixel(home.get(), icon.x + 28, icon.y + 40)));
  EXPECT_EQ(count(home.get(), layout::kLockTime, isWhite), 0);
  EXPECT_EQ(notes_.find("Default_Lock.png"), std::string::npos);

  view_.locked = true;
  screen::Surface locked = draw();
  EXPECT_EQ(count(locked.get(), layout::pageIcon(0), isGreen), 0);
  EXPECT_GT(count(locked.get(), layout::kLockTime, isWhite), 1000) << "the time, large";
  EXPECT_GT(count(locked.get(), layout::kLockDate, isWhite), 200) << "the date";
  EXPECT_GT(count(locked.get(), layout::kLockSliderText, [](Rgb c) { return c.red > 120; }), 300) << "the words";
  EXPECT_TRUE(isWhite(pixel(locked.get(), layout::kLockKnob.x + 4, layout::kLockKnob.y + 4))) << "the knob";
  EXPECT_NE(notes_.find("Default_Lock.png"), std::string::npos) << "the padlock is looked for: " << notes_;

  view_.now = localTime(17, 10);
  screen::Surface later = draw();
  EXPECT_NE(pngBytes(later.get()), pngBytes(locked.get())) << "the time follows the clock";
}

TEST_F(ScreenshotDrawing, AnOpeningApplicationShowsItsLaunchImageOrItsIconOnBlack) {
  view_.frontApplication = "com.a.opening";
  screen::Surface launch = draw();
  EXPECT_EQ(count(launch.get(), layout::kApplication, isBlue), 640 * 920);
  EXPECT_EQ(count(launch.get(), layout::kStatusBar, isBlue), 0);

  view_.frontApplication = "com.a.green";
  screen::Surface icon = draw();
  EXPECT_TRUE(isGreen(pixel(icon.get(), 160, 250)));
  EXPECT_TRUE(isBlack(pixel(icon.get(), 160, 100)));
  EXPECT_TRUE(isBlack(pixel(icon.get(), 40, 460)));
  EXPECT_EQ(count(icon.get(), layout::kApplication, isGreen), count(icon.get(), {100, 190, 120, 120}, isGreen));
  EXPECT_EQ(notes_, "springboard: cannot read /System/Library/CoreServices/SpringBoard.app/BarBackground.png "
                    "(No such file or directory); drawing the bar\n");
}

TEST_F(ScreenshotDrawing, TheCalendarIconShowsTodaysDay) {
  const Rect calendar = layout::pageIcon(1);
  auto ink = [](Rgb c) { return c.red < 100; };
  int seventeenth = count(draw().get(), calendar, ink);
  view_.now = localTime(1, 9);
  int first = count(draw().get(), calendar, ink);
  EXPECT_GT(seventeenth, 300);
  EXPECT_GT(first, 150);
  EXPECT_GT(seventeenth, first + 100) << "two digits have more ink than one";
}

TEST_F(ScreenshotDrawing, TheSameViewGivesTheSameBytesAndThePngHasNoTimeInIt) {
  view_.badges = {{"com.a.green", "3"}};
  std::string first = pngBytes(draw().get()), second = pngBytes(draw().get());
  EXPECT_EQ(first, second);
  // The chunks after the signature: length, type, data, check.
  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 8 <= first.size();) {
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i) length = length << 8 | static_cast<unsigned char>(first[at + i]);
    chunks.push_back(first.substr(at + 4, 4));
    at += 12 + length;
  }
  EXPECT_EQ(chunks.front(), "IHDR");
  EXPECT_EQ(chunks.back(), "IEND");
  EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "tIME"), 0);
}

TEST_F(ScreenshotDrawing, WithoutAPageTheCommandShowsTheCurrentOne) {
  state_ = dictionary({{"iconLists", list(list("com.a.green"), list("com.apple.mobilecal"))}});
  view_.currentPage = 2;
  std::map<std::string, std::string> shots;
  for (const std::string page : {"", "1", "2"}) {
    std::string file = (scratch_.path() / ("page" + page + ".png")).string();
    std::vector<std::string_view> arguments{file};
    if (!page.empty()) arguments.push_back(page);
    ASSERT_TRUE(screen::screenshotCommand(arguments, view_)) << page;
    std::ifstream in(file, std::ios::binary);
    shots[page].assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(shots[""], shots["2"]);
  EXPECT_NE(shots[""], shots["1"]);
}

TEST_F(ScreenshotDrawing, EmojiInANameAreDrawnInColour) {
  const Rect name = layout::label(layout::pageIcon(0));
  for (const std::string folder : {"Games", "Games \xF0\x9F\x8D\x8E"}) {  // U+1F34E, a red apple
    state_ = dictionary({{"iconLists", list(list(dictionary({{"displayName", folder}, {"iconLists", list(list())}})))}});
    screen::Surface picture = draw();
    EXPECT_EQ(count(picture.get(), name, isColoured) > 20, folder != "Games") << folder;
  }
}

}  // namespace
