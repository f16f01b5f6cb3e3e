#include "screenshot.h"

#include <algorithm>

#include "drawing.h"
#include "icon_art.h"
#include "platform/device_path.h"
#include "platform/file_tree.h"

namespace screen {

namespace {

using drawing::TextStyle;
using layout::Rect;

constexpr TextStyle kBarStyle{12, true, {1, 1, 1}, false};
constexpr double kItemGap = 3;

// A SpringBoard image, or null with a note saying what is drawn instead.
Surface springBoardImage(const std::string& name, const char* fallback, std::FILE* notes) {
  std::string path = platform::kSpringBoardBundlePath + name, why;
  Surface image = readPng(path, why);
  if (!image) std::fprintf(notes, "springboard: cannot read %s (%s); %s\n", path.c_str(), why.c_str(), fallback);
  return image;
}

// A status-bar image's size in points: as it is (the era's images have one
// pixel per point), scaled down to fit the bar.
Rect fitted(cairo_surface_t* image, double x, double maxWidth) {
  double width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  double scale = std::min({1.0, layout::kStatusImageMaxHeight / height, maxWidth / width});
  width *= scale, height *= scale;
  return {x, (layout::kStatusBarHeight - height) / 2, width, height};
}

void wallpaper(cairo_t* cr) {
  drawing::verticalGradient(cr, 0, layout::kScreenHeight,
                            {{0, {0.16, 0.22, 0.33}}, {0.6, {0.05, 0.07, 0.12}}, {1, {0, 0, 0}}},
                            drawing::Area::everything);
}

void dock(cairo_t* cr, std::FILE* notes) {
  const Rect& box = layout::kDock;
  if (Surface shelf = springBoardImage("SBDockBG.png", "drawing the dock", notes)) {
    drawing::image(cr, shelf.get(), box);
    return;
  }
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  drawing::verticalGradient(
      cr, box.y, box.bottom(),
      {{0, {0.75, 0.78, 0.82, 0.55}}, {0.5, {0.45, 0.48, 0.53, 0.5}}, {1, {0.2, 0.22, 0.25, 0.6}}});
}

// One dot per page, the current one bright. Dots shrink to fit; beyond
// kMaxPageDots pages the rest have no room and are left out.
constexpr std::size_t kMaxPageDots = 60;
void pageDots(cairo_t* cr, std::size_t pages, std::size_t current) {
  std::size_t count = std::min(pages, kMaxPageDots);
  double pitch = std::min(16.0, (layout::kScreenWidth - 20.0) / double(count));
  double radius = std::max(0.5, std::min(3.0, pitch / 2 - 0.5));
  double first = layout::kScreenWidth / 2.0 - pitch * double(count - 1) / 2;
  for (std::size_t i = 0; i < count; ++i) {
    cairo_arc(cr, first + pitch * double(i), layout::kPageDotsCenterY, radius, 0, 2 * drawing::kPi);
    cairo_set_source_rgba(cr, 1, 1, 1, i + 1 == current ? 1 : 0.35);
    cairo_fill(cr);
  }
}

// Five bars of rising height: full signal.
double signalBars(cairo_t* cr, double x) {
  for (int i = 0; i < 5; ++i) {
    double height = 4 + 2 * i;
    cairo_rectangle(cr, x + 4 * i, 15 - height, 3, height);
  }
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  return 19;
}

void battery(cairo_t* cr) {
  Rect body{289, 5, 22, 10};
  drawing::roundedRect(cr, body, 2);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_rectangle(cr, body.right(), 8, 2, 4);
  cairo_rectangle(cr, body.x + 2, body.y + 2, body.width - 4, body.height - 4);
  cairo_fill(cr);
}

void statusBar(cairo_t* cr, const StatusBar& bar, std::FILE* notes) {
  const Rect& box = layout::kStatusBar;
  if (Surface background = springBoardImage("BarBackground.png", "drawing the bar", notes)) {
    drawing::image(cr, background.get(), box);
  } else {
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_fill(cr);
  }

  double x = layout::kAirplaneImage.x;
  if (!bar.airplaneMode) {
    x += signalBars(cr, x) + kItemGap;
  } else if (Surface airplane = springBoardImage("Default_Airplane.png", "airplane mode is shown by name", notes)) {
    Rect at = fitted(airplane.get(), x, layout::kAirplaneImage.width);
    drawing::image(cr, airplane.get(), at);
    x += at.width + kItemGap;
  } else {
    x += drawing::leftText(cr, "Airplane", {x, 0, 60, box.height}, kBarStyle) + kItemGap;
  }
  drawing::leftText(cr, bar.carrier, {x, 0, std::max(0.0, 100 - x), box.height}, kBarStyle);

  constexpr const Rect& kClock = layout::kStatusClock;
  if (bar.padlock) {
    if (Surface padlock = springBoardImage("Default_Lock.png", "the padlock is left out", notes)) {
      Rect at = fitted(padlock.get(), 0, kClock.width);
      at.x = kClock.x + (kClock.width - at.width) / 2;
      drawing::image(cr, padlock.get(), at);
    }
  } else {
    drawing::centredText(cr, bar.clock, kClock, kBarStyle);
  }
  battery(cr);

  // Items fill the bar leftwards from the battery, the first added leftmost.
  double right = layout::kStatusItemsRight;
  std::vector<std::pair<Surface, Rect>> shown;
  for (auto item = bar.items.rbegin(); item != bar.items.rend(); ++item) {
    if (item->find('/') != std::string::npos) continue;  // a name, never a path
    Surface image = springBoardImage("Default_" + *item + ".png", "the item is left out", notes);
    if (!image) continue;
    Rect at = fitted(image.get(), 0, layout::kStatusImageMaxWidth);
    if (right - at.width < kClock.right()) {
      std::fprintf(notes, "springboard: no room in the status bar for %s and the items before it\n", item->c_str());
      break;
    }
    at.x = right - at.width;
    right = at.x - kItemGap;
    drawing::image(cr, image.get(), at);
  }
}

double tilt(std::size_t index) { return index % 2 ? -layout::kEditTiltDegrees : layout::kEditTiltDegrees; }

void homeScreen(cairo_t* cr, const Screen& screen, IconArt& art, std::FILE* notes) {
  dock(cr, notes);
  auto decorate = [&](const HomeIcon& icon, std::size_t index) {
    return IconArt::Decoration{IconArt::badgeFor(screen.badges, icon), screen.editing,
                               screen.editing ? tilt(index) : 0};
  };
  for (std::size_t i = 0; i < screen.page.icons.size(); ++i)
    art.draw(cr, screen.page.icons[i], layout::pageIcon(i), decorate(screen.page.icons[i], i));
  for (std::size_t i = 0; i < screen.page.dock.size(); ++i)
    art.draw(cr, screen.page.dock[i], layout::dockIcon(i), decorate(screen.page.dock[i], i + 1));
  pageDots(cr, screen.page.pageCount, screen.pageNumber);
}

// A band of the lock screen: dark glass with a faint edge towards the wallpaper.
void lockBand(cairo_t* cr, const Rect& band, bool edgeBelow) {
  cairo_rectangle(cr, band.x, band.y, band.width, band.height);
  drawing::verticalGradient(cr, band.y, band.bottom(), {{0, {0.1, 0.1, 0.12, 0.7}}, {1, {0, 0, 0, 0.8}}});
  cairo_rectangle(cr, band.x, edgeBelow ? band.bottom() - 1 : band.y, band.width, 1);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
  cairo_fill(cr);
}

// The knob's arrow, pointing the way to slide.
void knobArrow(cairo_t* cr, const Rect& knob) {
  double cx = knob.x + knob.width / 2, cy = knob.y + knob.height / 2;
  cairo_move_to(cr, cx - 13, cy - 4);
  cairo_line_to(cr, cx + 2, cy - 4);
  cairo_line_to(cr, cx + 2, cy - 11);
  cairo_line_to(cr, cx + 14, cy);
  cairo_line_to(cr, cx + 2, cy + 11);
  cairo_line_to(cr, cx + 2, cy + 4);
  cairo_line_to(cr, cx - 13, cy + 4);
  cairo_close_path(cr);
  drawing::verticalGradient(cr, cy - 11, cy + 11, {{0, {0.55, 0.56, 0.58}}, {1, {0.35, 0.36, 0.38}}});
}

// The lock screen: the time and the date large at the top, the slider at the foot.
void lockScreen(cairo_t* cr, const Screen& screen) {
  lockBand(cr, layout::kLockClockBand, true);
  drawing::centredText(cr, lockClockText(screen.now), layout::kLockTime, {62, false, {1, 1, 1}});
  drawing::centredText(cr, dateText(screen.now), layout::kLockDate, {17, false, {1, 1, 1}});

  lockBand(cr, layout::kLockSliderBand, false);
  const Rect& slider = layout::kLockSlider;
  drawing::roundedRect(cr, slider, 12);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.2);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const Rect& knob = layout::kLockKnob;
  drawing::roundedRect(cr, knob, 9);
  drawing::verticalGradient(cr, knob.y, knob.bottom(),
                            {{0, {0.98, 0.98, 0.98}}, {0.5, {0.86, 0.86, 0.87}}, {1, {0.7, 0.71, 0.73}}});
  knobArrow(cr, knob);
  drawing::centredText(cr, "slide to unlock", layout::kLockSliderText, {22, false, {1, 1, 1, 0.7}});
}

// The application in front, as it opens: its launch image under the bar, or
// its icon on black when its bundle has none.
void frontApplication(cairo_t* cr, const std::string& identifier, const AppCatalog& apps, IconArt& art,
                      std::FILE* notes) {
  const Rect& box = layout::kApplication;
  std::optional<AppInfo> app = apps.find(identifier);
  if (app && platform::fileExists(app->launchImagePath)) {
    std::string why;
    if (Surface launch = readPng(app->launchImagePath, why)) {
      drawing::image(cr, launch.get(), box);
      return;
    }
    std::fprintf(notes, "springboard: cannot read %s (%s); drawing the icon on black\n", app->launchImagePath.c_str(),
                 why.c_str());
  }
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
  double size = layout::kIconSize;
  art.drawAlone(cr, identifier, {box.x + (box.width - size) / 2, box.y + (box.height - size) / 2, size, size});
}

}  // namespace

Surface drawScreen(const Screen& screen, const AppCatalog& apps, std::FILE* notes) {
  Surface picture(cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout::kPixelWidth, layout::kPixelHeight));
  cairo_t* cr = cairo_create(picture.get());
  cairo_scale(cr, layout::kScale, layout::kScale);
  if (std::optional<std::string> problem = drawing::fontProblem())
    std::fprintf(notes, "springboard: %s\n", problem->c_str());

  wallpaper(cr);
  IconArt art(apps, notes, screen.now);
  if (screen.locked) lockScreen(cr, screen);
  else if (!screen.frontApplication.empty()) frontApplication(cr, screen.frontApplication, apps, art, notes);
  else homeScreen(cr, screen, art, notes);
  statusBar(cr, screen.statusBar, notes);

  cairo_destroy(cr);
  cairo_surface_flush(picture.get());
  return picture;
}

}  // namespace screen
