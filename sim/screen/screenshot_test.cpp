// The picture of a DeviceView, probed by place and colour.

#include "screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "drawing.h"
#include "home_layout.h"
#include "screenshot_command.h"
#include "tests/support/plist_literals.h"
#include "tests/support/scratch_root.h"

namespace {

using namespace plist_literals;
namespace layout = screen::layout;
using layout::Rect;

struct Rgb {
  int red, green, blue;
};
bool isWhite(Rgb c) { return c.red > 230 && c.green > 230 && c.blue > 230; }
bool isGreen(Rgb c) { return c.green > 200 && c.red < 60 && c.blue < 60; }
bool isBlue(Rgb c) { return c.blue > 200 && c.red < 60 && c.green < 60; }
bool isColoured(Rgb c) { return std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue}) > 80; }

// How many pixels of a kind the area (in points) holds.
int countOf(const screen::Surface& picture, const Rect& area, bool (*kind)(Rgb)) {
  int found = 0, stride = cairo_image_surface_get_stride(picture.get()) / 4;
  auto* pixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(picture.get()));
  for (int y = int(area.y) * layout::kScale; y < int(area.bottom()) * layout::kScale; ++y)
    for (int x = int(area.x) * layout::kScale; x < int(area.right()) * layout::kScale; ++x) {
      std::uint32_t p = pixels[y * stride + x];
      found += kind({int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)});
    }
  return found;
}

class ScreenshotDrawing : public ::testing::Test {
 protected:
  ScreenshotDrawing() {
    app("Green", {0, 1, 0});
    app("Opening", {1, 1, 1});
    image("Applications/Opening.app/Default.png", 8, {0, 0, 1});
    view_.iconState = &state_;
    std::tm local{};  // 2009-06-17T09:41:00 here
    local.tm_year = 109, local.tm_mon = 5, local.tm_mday = 17, local.tm_hour = 9, local.tm_min = 41,
    local.tm_isdst = -1;
    view_.now = std::mktime(&local);
  }
  ~ScreenshotDrawing() override { std::fclose(notes_); }
  void app(const std::string& name, Rgb colour) {
    std::filesystem::create_directories(scratch_.path() / ("Applications/" + name + ".app"));
    std::ofstream(scratch_.path() / ("Applications/" + name + ".app/Info.plist"))
        << platform::plist::toXml(dictionary({{"CFBundleIdentifier", "com.a." + name}}));
    image("Applications/" + name + ".app/Icon.png", 57, colour);
  }
  void image(const std::string& file, int side, Rgb colour) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, side, side);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(image, (scratch_.path() / file).c_str());
    cairo_surface_destroy(image);
  }
  screen::Surface draw() {
    std::optional<screen::Screen> shown = screen::screenOf(view_, view_.currentPage);
    return shown ? screen::drawScreen(*shown, screen::AppCatalog::scan(), notes_) : nullptr;
  }

  ScratchRoot scratch_;
  std::FILE* notes_ = tmpfile();
  platform::plist::Value state_ = dictionary({{"iconLists", list(list("com.a.Green"), list("com.a.Opening"))}});
  screen::DeviceView view_;
};

TEST_F(ScreenshotDrawing, LockedTheTimeDateAndSliderStandInPlaceOfTheIcons) {
  screen::Surface home = draw(), locked = (view_.locked = true, draw());
  EXPECT_GT(countOf(home, layout::pageIcon(0), isGreen), 5000);
  EXPECT_EQ(countOf(home, layout::kLockTime, isWhite), 0);
  EXPECT_EQ(countOf(locked, layout::pageIcon(0), isGreen), 0);
  EXPECT_GT(countOf(locked, layout::kLockTime, isWhite), 1000) << "the time, large";
  EXPECT_GT(countOf(locked, layout::kLockDate, isWhite), 200) << "the date";
  EXPECT_GT(countOf(locked, layout::kLockSliderText, [](Rgb c) { return c.red > 120; }), 300) << "the words";
  EXPECT_GT(countOf(locked, layout::kLockKnob, isWhite), 1000) << "the knob";
  view_.now += 3600;
  EXPECT_GT(countOf(draw(), layout::kLockTime, isWhite), countOf(locked, layout::kLockTime, isWhite) + 500) << "10:41";
}

TEST_F(ScreenshotDrawing, AnOpeningApplicationShowsItsLaunchImageOrElseItsIconOnBlack) {
  view_.frontApplication = "com.a.Opening";
  EXPECT_EQ(countOf(draw(), layout::kApplication, isBlue), 640 * 920);
  view_.frontApplication = "com.a.Green";
  screen::Surface icon = draw();
  EXPECT_EQ(countOf(icon, {100, 190, 120, 120}, isGreen), countOf(icon, layout::kApplication, isGreen));
  EXPECT_GT(countOf(icon, {100, 190, 120, 120}, isGreen), 5000);
  EXPECT_EQ(countOf(icon, {0, 20, 320, 160}, [](Rgb c) { return c.red + c.green + c.blue == 0; }), 640 * 320);
}

TEST_F(ScreenshotDrawing, EmojiInANameAreDrawnInColour) {
  for (const std::string folder : {"Games", "Games \xF0\x9F\x8D\x8E"}) {  // U+1F34E, a red apple
    state_ = dictionary({{"iconLists", list(list(dictionary({{"displayName", folder}})))}});
    EXPECT_EQ(countOf(draw(), layout::label(layout::pageIcon(0)), isColoured) > 20, folder != "Games") << folder;
  }
}

// A mark is placed by the centre of its ink; in the screen's font alone, a
// character the font lacks is refused and nothing is drawn.
TEST(Drawing, AMarkIsCentredByItsInkAndRefusedWhereOnlyOtherFontsHaveItsGlyph) {
  screen::Surface mark(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40));
  cairo_t* cr = cairo_create(mark.get());
  const screen::drawing::TextStyle ownGlyphs{20, true, {1, 1, 1}, false, false};
  EXPECT_FALSE(screen::drawing::inkCentredText(cr, "\xF0\x9F\x8D\x8E", 20, 20, ownGlyphs));  // U+1F34E
  EXPECT_TRUE(screen::drawing::inkCentredText(cr, "\xE2\x96\xA0", 15, 25, ownGlyphs));       // U+25A0, a square
  cairo_destroy(cr);
  cairo_surface_flush(mark.get());
  int stride = cairo_image_surface_get_stride(mark.get()) / 4, left = 40, right = 0, top = 40, bottom = 0;
  auto* pixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(mark.get()));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (pixels[y * stride + x] >> 24 > 128)
        left = std::min(left, x), right = std::max(right, x + 1), top = std::min(top, y),
        bottom = std::max(bottom, y + 1);
  EXPECT_NEAR((left + right) / 2.0, 15, 1);
  EXPECT_NEAR((top + bottom) / 2.0, 25, 1);
}

}  // namespace
