// The screenshot command end to end: the picture's size, and pixel probes
// where badges, status-bar images and close boxes must (or must not) be. The
// probes look at places and colours, never at whole images: fonts differ
// between machines.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "sim/screen/home_layout.h"
#include "springboard_run.h"

namespace {

using namespace springboard_e2e;
namespace fs = std::filesystem;
namespace layout = screen::layout;
using layout::Rect;

const std::string kSpringBoardApp = "/System/Library/CoreServices/SpringBoard.app/";

struct Rgb {
  int red, green, blue;
};

bool isRed(Rgb c) { return c.red > 170 && c.green < 90 && c.blue < 90; }
bool isGreen(Rgb c) { return c.green > 200 && c.red < 60 && c.blue < 60; }
bool isBlack(Rgb c) { return c.red < 25 && c.green < 25 && c.blue < 25; }
bool isWhite(Rgb c) { return c.red > 230 && c.green > 230 && c.blue > 230; }

// A written picture, probed in the screen's points.
class Picture {
 public:
  explicit Picture(const fs::path& file) : surface_(cairo_image_surface_create_from_png(file.c_str())) {}
  ~Picture() { cairo_surface_destroy(surface_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  bool valid() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(surface_); }
  int height() const { return cairo_image_surface_get_height(surface_); }

  Rgb pixel(int x, int y) const {
    const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    return {int(value >> 16 & 0xff), int(value >> 8 & 0xff), int(value & 0xff)};
  }
  Rgb at(double x, double y) const { return pixel(int(x * layout::kScale), int(y * layout::kScale)); }
  // How many pixels inside area (points) are of a kind.
  int count(const Rect& area, const std::function<bool(Rgb)>& kind) const {
    int found = 0;
    for (int y = int(area.y * layout::kScale); y < int(area.bottom() * layout::kScale); ++y)
      for (int x = int(area.x * layout::kScale); x < int(area.right() * layout::kScale); ++x)
        if (x >= 0 && y >= 0 && x < width() && y < height() && kind(pixel(x, y))) ++found;
    return found;
  }

 private:
  cairo_surface_t* surface_;
};

class ScreenshotTest : public ::testing::Test {
 protected:
  const e2e::TemporaryDevice& device() const { return *device_; }
  // Each case of a table that changes the device gets a fresh one.
  void freshDevice() { device_ = std::make_unique<e2e::TemporaryDevice>(); }
  fs::path file() const { return device().root().parent_path() / "screen.png"; }

  // Runs the commands and then "screenshot FILE [page]"; the picture is at file().
  e2e::Result shoot(const std::string& before = "", const std::string& page = "",
                    const std::map<std::string, std::string>& environment = {}) {
    std::string script = before + (before.empty() ? "" : "; ") + "screenshot " + file().string() + " " + page;
    return e2e::run(device(), {e2e::program("springboard"), "--no-extensions", "-c", script}, "", environment);
  }
  void tool(const std::string& name, const std::vector<std::string>& arguments) {
    e2e::Result result = e2e::runProgram(device(), name, arguments);
    ASSERT_TRUE(result.exited && result.status == 0) << name << ": " << result.err;
  }
  // A plain square of one colour, the size of a status-bar image.
  void solidImage(const std::string& devicePath, double red, double green, double blue) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_paint(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(image, device().host(devicePath).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(image);
  }
  static void expectPicture(const e2e::Result& result, const fs::path& file) {
    ASSERT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.status, 0) << result.err;
    Picture picture(file);
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 640);
    EXPECT_EQ(picture.height(), 960);
  }

  std::unique_ptr<e2e::TemporaryDevice> device_ = std::make_unique<e2e::TemporaryDevice>();
};

// Above the icon's top edge, where only a badge draws, over the last width points.
Rect aboveTopRight(const Rect& icon, double width) { return {icon.right() + 9 - width, icon.y - 9, width - 2, 8}; }

TEST_F(ScreenshotTest, TheSampleDeviceGivesAPictureOfTheDocumentedSizeWithoutNotes) {
  e2e::Result result = shoot();
  expectPicture(result, file());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "");
}

TEST_F(ScreenshotTest, ABadgeIsARedOvalAtTheIconsTopRightWidenedForLongTextAndZeroRemovesIt) {
  const Rect calendar = layout::pageIcon(1);  // com.apple.mobilecal
  struct Case {
    std::string tool;
    std::vector<std::string> arguments;
    bool badge, wide;
  };
  for (const Case& c :
       {Case{"iconcount", {"id", "com.apple.mobilecal", "5"}, true, false},
        Case{"iconcount", {"id", "com.apple.mobilecal", "0"}, false, false},
        Case{"badge", {"MobileCal", "Wonderful"}, true, true}, Case{"badge", {"MobileCal"}, false, false}}) {
    tool(c.tool, c.arguments);
    expectPicture(shoot(), file());
    Picture picture(file());
    std::string what = c.tool + " " + c.arguments.back();
    EXPECT_EQ(picture.count(aboveTopRight(calendar, 20), isRed) > 20, c.badge) << what;
    EXPECT_EQ(picture.count({calendar.x, calendar.y - 9, 20, 8}, isRed) > 20, c.wide) << what;
  }
}

TEST_F(ScreenshotTest, AStatusBarItemsImageAppearsInTheBarOnlyOnceAdded) {
  solidImage(kSpringBoardApp + "Default_Probe.png", 0, 1, 0);
  const Rect items{layout::kStatusItemsRight - 60, 0, 60, layout::kStatusBarHeight};
  expectPicture(shoot(), file());
  EXPECT_EQ(Picture(file()).count(layout::kStatusBar, isGreen), 0);
  tool("indicator", {"-s", "Probe"});
  expectPicture(shoot(), file());
  EXPECT_GT(Picture(file()).count(items, isGreen), 200);
}

TEST_F(ScreenshotTest, AirplaneModesImageAppearsOnlyWhenItIsOn) {
  solidImage(kSpringBoardApp + "Default_Airplane.png", 0, 1, 0);
  for (const std::string mode : {"y", "n"}) {
    tool("radio", {mode});
    expectPicture(shoot(), file());
    Picture picture(file());
    EXPECT_EQ(picture.count(layout::kAirplaneImage, isGreen) > 200, mode == "y") << mode;
    if (mode == "n") {
      EXPECT_EQ(picture.count(layout::kStatusBar, isGreen), 0);
    }
  }
}

TEST_F(ScreenshotTest, EditModeDrawsACloseBoxOnEveryIcon) {
  for (const std::string mode : {"on", "off"}) {
    expectPicture(shoot("edit " + mode), file());
    Picture picture(file());
    for (const Rect& icon : {layout::pageIcon(0), layout::pageIcon(15), layout::dockIcon(3)}) {
      Rect box = layout::closeBox(icon);
      EXPECT_EQ(picture.count(box, isBlack) > 20 && picture.count(box, isWhite) > 20, mode == "on")
          << mode << " at " << icon.x << "," << icon.y;
    }
  }
}

bool isPlaceholderGrey(Rgb c) {
  return c.red > 150 && std::abs(c.red - c.green) < 12 && std::abs(c.green - c.blue) < 16;
}

TEST_F(ScreenshotTest, WhatCannotBeDrawnAsIntendedGivesAPlaceholderAndANoteNeverACrash) {
  const Rect first = layout::pageIcon(0);  // com.apple.MobileSMS in the sample
  const std::string icon = "/Applications/MobileSMS.app/Icon.png";
  struct Case {
    const char* what;
    std::function<void()> setUp;
    std::string note;
    bool placeholder;
  };
  auto iconState = [&](platform::plist::Value state) { return [this, state] { writeIconState(device(), state); }; };
  platform::plist::Dictionary unknownFirst;
  unknownFirst.set("iconLists",
                   platform::plist::Array{platform::plist::Value(platform::plist::Array{"com.example.nothing"})});
  platform::plist::Dictionary oddShape;
  oddShape.set("iconLists", platform::plist::Array{platform::plist::Value(platform::plist::Array{1, "x"}), "page"});
  oddShape.set("buttonBar", "dock");
  const Case cases[] = {
      {"an identifier with no bundle", iconState(unknownFirst),
       "springboard: no application for com.example.nothing; drawing a placeholder icon\n", true},
      {"an icon that is no image", [&] { std::ofstream(device().host(icon), std::ios::trunc) << "GIF89a"; },
       "springboard: cannot read " + icon + " (not a PNG image); drawing a placeholder icon\n", true},
      {"an icon that is a pipe",
       [&] {
         fs::remove(device().host(icon));
         mkfifo(device().host(icon).c_str(), 0644);
       },
       "springboard: cannot read " + icon + " (not a plain file); drawing a placeholder icon\n", true},
      {"an icon state of another shape", iconState(oddShape),
       "springboard: no application for x; drawing a placeholder icon\n", true},
      {"an icon state that is a list", iconState(platform::plist::Array{"a"}),
       "springboard: ignoring " + std::string(kIconStatePath) + ": not a dictionary\n", false},
  };
  for (const Case& c : cases) {
    freshDevice();
    c.setUp();
    e2e::Result result = shoot();
    expectPicture(result, file());
    EXPECT_EQ(result.err, c.note) << c.what;
    EXPECT_EQ(isPlaceholderGrey(Picture(file()).at(first.x + 6, first.y + 36)), c.placeholder) << c.what;
  }
}

TEST_F(ScreenshotTest, TheSameClockGivesTheSameBytesAndTheJournalKeepsTheMachinesTime) {
  std::vector<std::string> shots;
  for (const char* clock : {"2009-06-17T09:41:00", "2009-06-17T09:41:00", "2009-06-17T10:41:00"}) {
    expectPicture(shoot("edit on; edit off", "", {{"SBKIT_CLOCK", clock}}), file());
    shots.push_back(e2e::fileBytes(file()));
  }
  EXPECT_EQ(shots[0], shots[1]);
  EXPECT_EQ(shots[0].find("tIME"), std::string::npos) << "a PNG time chunk";
  EXPECT_NE(shots[0], shots[2]) << "the status bar's clock follows SBKIT_CLOCK";
  std::string journal = e2e::fileBytes(device().host("/private/var/sim/journal"));
  ASSERT_FALSE(journal.empty());
  EXPECT_GT(std::stod(journal), double(std::time(nullptr) - 3600)) << journal;
}

TEST_F(ScreenshotTest, WithoutTheFontTheTextsAreBoxesAndTheNoteSaysSo) {
  fs::path config = device().root().parent_path() / "no-fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  e2e::Result result = shoot("", "", {{"FONTCONFIG_FILE", config.string()}});
  expectPicture(result, file());
  EXPECT_EQ(result.err, "springboard: no font found: texts are drawn as boxes\n");
}

TEST_F(ScreenshotTest, ABadPageAnUnwritableFileOrABadClockIsAnErrorAndWritesNothing) {
  struct Case {
    std::string page, file, error;
    std::map<std::string, std::string> environment = {};
  };
  const std::string target = file().string();
  for (const Case& c :
       {Case{"4", target, "springboard: screenshot: no page 4: the home screen has 3 pages\n"},
        Case{"0", target, "springboard: screenshot: bad page number 0\n"},
        Case{"2x", target, "springboard: screenshot: bad page number 2x\n"},
        Case{"", target + ".d/x.png", "springboard: cannot write " + target + ".d/x.png: No such file or directory\n"},
        Case{"",
             target,
             "springboard: SBKIT_CLOCK: not a local time of the form 2009-06-17T09:41:00: 9:41\n",
             {{"SBKIT_CLOCK", "9:41"}}}}) {
    e2e::Result result = e2e::run(
        device(), {e2e::program("springboard"), "--no-extensions", "-c", "screenshot " + c.file + " " + c.page}, "",
        c.environment);
    ASSERT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.status, 1) << c.page;
    EXPECT_EQ(result.err, c.error);
    EXPECT_FALSE(fs::exists(c.file)) << c.page;
    EXPECT_EQ(std::distance(fs::directory_iterator(device().root().parent_path()), {}), 1) << "no file left behind";
  }
  expectPicture(shoot("", "3"), file());
}

}  // namespace
