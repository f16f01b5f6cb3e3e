// Makes the sample device's pictures: a 57x57 icon per application, each with
// its own colours and glyph, SpringBoard's status-bar images (20 points high),
// its badge background, bar background and dock. The pictures are committed;
// this program runs only when they are to be made again:
//
//   cmake --build build --target sample_device_art
//
// Usage: make_device_art DEVICE-FOLDER

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "sim/screen/drawing.h"
#include "sim/screen/png_image.h"

namespace {

using screen::Surface;
using screen::drawing::Area;
using screen::drawing::Colour;
using screen::drawing::kPi;
using screen::drawing::setColour;
using screen::drawing::verticalGradient;

struct Icon {
  const char* path;  // below the device folder
  Colour top, bottom, ink;
  const char* glyph;
  double size = 34;     // of the glyph, in pixels
  bool header = false;  // a calendar's red band; SpringBoard writes the weekday and the day
};

const Icon kIcons[] = {
    {"Applications/MobileSMS.app/Icon.png", {0.55, 0.9, 0.35}, {0.1, 0.55, 0.05}, {1, 1, 1}, "☺"},
    {"Applications/MobileCal.app/Icon.png", {1, 1, 1}, {0.85, 0.85, 0.86}, {0.1, 0.1, 0.1}, "", 28, true},
    {"Applications/MobileSlideShow.app/Icon.png", {0.55, 0.8, 1}, {0.15, 0.45, 0.85}, {1, 0.85, 0.1}, "✿", 38},
    {"Applications/MobileSlideShow.app/Icon-Camera.png",
     {0.75, 0.76, 0.78},
     {0.3, 0.31, 0.33},
     {0.05, 0.05, 0.1},
     "◉",
     38},
    {"Applications/YouTube.app/Icon.png", {0.95, 0.3, 0.25}, {0.6, 0.05, 0.05}, {1, 1, 1}, "▶", 30},
    {"Applications/Stocks.app/Icon.png", {0.3, 0.3, 0.32}, {0.02, 0.02, 0.03}, {0.35, 0.95, 0.3}, "↗", 36},
    {"Applications/Maps.app/Icon.png", {0.9, 0.95, 0.8}, {0.6, 0.8, 0.55}, {0.85, 0.1, 0.1}, "⚑", 34},
    {"Applications/Weather.app/Icon.png", {0.35, 0.65, 1}, {0.05, 0.3, 0.8}, {1, 0.9, 0.2}, "☀", 38},
    {"Applications/VoiceMemos.app/Icon.png", {0.9, 0.9, 0.92}, {0.45, 0.46, 0.5}, {0.75, 0.05, 0.05}, "●", 30},
    {"Applications/MobileNotes.app/Icon.png", {1, 0.97, 0.6}, {0.95, 0.8, 0.3}, {0.45, 0.3, 0.1}, "✎", 34},
    {"Applications/MobileTimer.app/Icon.png", {0.25, 0.25, 0.27}, {0, 0, 0}, {1, 1, 1}, "◷", 38},
    {"Applications/Calculator.app/Icon.png", {0.98, 0.65, 0.2}, {0.8, 0.35, 0}, {0.1, 0.1, 0.1}, "±", 36},
    {"Applications/Preferences.app/Icon.png", {0.8, 0.82, 0.85}, {0.45, 0.47, 0.52}, {0.2, 0.2, 0.22}, "⚙", 40},
    {"Applications/MobileStore.app/Icon.png", {0.75, 0.45, 0.95}, {0.4, 0.1, 0.65}, {1, 1, 1}, "♫", 36},
    {"Applications/AppStore.app/Icon.png", {0.35, 0.7, 1}, {0.05, 0.35, 0.8}, {1, 1, 1}, "A", 38},
    {"Applications/MobileAddressBook.app/Icon.png", {0.85, 0.7, 0.5}, {0.55, 0.38, 0.2}, {0.25, 0.15, 0.05}, "☰", 36},
    {"Applications/MobilePhone.app/Icon.png", {0.45, 0.9, 0.4}, {0.05, 0.6, 0.1}, {1, 1, 1}, "☎", 38},
    {"Applications/MobileMail.app/Icon.png", {0.5, 0.75, 1}, {0.1, 0.4, 0.9}, {1, 1, 1}, "✉", 38},
    {"Applications/MobileSafari.app/Icon.png", {0.85, 0.93, 1}, {0.25, 0.55, 0.9}, {0.9, 0.2, 0.15}, "⊕", 40},
    {"Applications/MobileMusicPlayer.app/Icon.png", {1, 0.7, 0.3}, {0.9, 0.4, 0.05}, {1, 1, 1}, "♪", 38},
    {"private/var/mobile/Applications/0F6A3B2C-1D4E-4F5A-9B8C-7D6E5F4A3B2C/WeatherPro.app/Icon.png",
     {0.2, 0.25, 0.55},
     {0.05, 0.05, 0.2},
     {0.6, 0.85, 1},
     "☂",
     38},
    {"private/var/mobile/Applications/1B2C3D4E-5F60-4718-A9B0-C1D2E3F40516/NoteTaker.app/Icon.png",
     {1, 1, 0.95},
     {0.85, 0.85, 0.78},
     {0.1, 0.3, 0.6},
     "✍",
     36},
    {"private/var/mobile/Applications/2C8E4A10-7B3D-4E9F-8A21-5D6C7B8A9F01/GalaxyBlaster.app/Icon.png",
     {0.35, 0.1, 0.5},
     {0.05, 0, 0.1},
     {1, 0.8, 0.3},
     "☄",
     38},
    {"private/var/mobile/Applications/3D9F5B21-8C4E-4FA0-9B32-6E7D8C9BA012/MyApp.APP/Icon.png",
     {0.3, 0.8, 0.75},
     {0, 0.45, 0.45},
     {1, 1, 1},
     "M",
     36},
    {"private/var/mobile/Applications/4EA06C32-9D5F-40B1-AC43-7F8E9DACB123/Broken.app/Icon.png",
     {0.6, 0.6, 0.6},
     {0.35, 0.35, 0.35},
     {0.9, 0.2, 0.2},
     "✖",
     34},
    {"private/var/mobile/Applications/5FB17D43-AE60-41C2-BD54-809FAEBDC234/NoIdent.app/Icon.png",
     {0.75, 0.65, 0.55},
     {0.45, 0.35, 0.25},
     {1, 1, 1},
     "?",
     38},
    {"private/var/mobile/Applications/60C28E54-BF71-42D3-8E65-91A0BFCED345/Twins.app/Icon.png",
     {0.45, 0.6, 1},
     {0.15, 0.25, 0.7},
     {1, 1, 1},
     "♊",
     36},
    {"private/var/mobile/Applications/71D39F65-C082-43E4-9F76-A2B1C0DFE456/Twins.app/Icon.png",
     {1, 0.6, 0.8},
     {0.8, 0.2, 0.5},
     {1, 1, 1},
     "♊",
     36},
    {"private/var/mobile/Applications/82E4A076-D193-44F5-A087-B3C2D1E0F567/A Very Long Application Name.app/Icon.png",
     {0.7, 0.75, 0.3},
     {0.4, 0.45, 0.1},
     {1, 1, 1},
     "L",
     36},
    {"private/var/mobile/Applications/93F5B187-E2A4-4506-B198-C4D3E2F10678/Foo.bar.app/Icon.png",
     {0.95, 0.4, 0.95},
     {0.6, 0.05, 0.55},
     {1, 1, 1},
     "ƒ",
     38},
    {"private/var/mobile/Applications/A406C298-F3B5-4617-82A9-D5E4F3021789/Chirp.app/Icon.png",
     {0.6, 0.9, 1},
     {0.2, 0.65, 0.9},
     {1, 1, 1},
     "✦",
     36},
    {"private/var/mobile/Applications/B517D3A9-04C6-4728-93BA-E6F50413289A/Flashlight.app/Icon.png",
     {0.2, 0.2, 0.2},
     {0, 0, 0},
     {1, 0.9, 0.2},
     "⚡",
     38},
    {"private/var/mobile/Applications/C628E4BA-15D7-4839-A4CB-F706152439AB/Sudoku.app/Icon.png",
     {0.55, 0.75, 0.55},
     {0.2, 0.45, 0.25},
     {1, 1, 1},
     "9",
     36},
};

std::string device;

void fail(const std::string& what) {
  std::fprintf(stderr, "make_device_art: %s\n", what.c_str());
  std::exit(1);
}

void save(const Surface& surface, const std::string& path) {
  std::string why;
  if (!screen::writePng(surface.get(), device + "/" + path, why)) fail("cannot write " + path);
}

// Draws text in the colour with the centre of its ink at (x, y), in DejaVu's
// own glyphs only: with an emoji font installed, fontconfig would otherwise
// draw marks such as "⚡" in colour and change the committed art.
void glyph(cairo_t* cr, const std::string& text, double size, const Colour& colour, double x, double y) {
  if (!screen::drawing::inkCentredText(cr, text, x, y, {size, true, colour, false, false}))
    fail("the font has no glyph for " + text);
}

void icon(const Icon& art) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 57, 57));
  cairo_t* cr = cairo_create(surface.get());
  verticalGradient(cr, 0, 57, {{0, art.top}, {1, art.bottom}}, Area::everything);
  if (art.header) {
    cairo_rectangle(cr, 0, 0, 57, 15);
    setColour(cr, {0.85, 0.1, 0.1});
    cairo_fill(cr);
  }
  if (*art.glyph) {
    glyph(cr, art.glyph, art.size, {0, 0, 0, 0.35}, 28.5, 30);
    glyph(cr, art.glyph, art.size, art.ink, 28.5, 29);
  }
  cairo_destroy(cr);
  save(surface, art.path);
}

// Status-bar images: a white mark for the black bar ("Default_") or a dark
// one for the grey bar ("FSO_"), 20 pixels high, as wide as the mark. A mark
// is drawn in the colour given, which is also the source when it begins.
using Mark = std::function<void(cairo_t*, double width, const Colour& ink)>;

Mark text(const char* glyphText, double size) {
  return [=](cairo_t* cr, double width, const Colour& ink) { glyph(cr, glyphText, size, ink, width / 2, 10); };
}

Mark bluetooth(const char* extra = nullptr) {
  return [=](cairo_t* cr, double, const Colour& ink) {
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, 3, 6.5);
    cairo_line_to(cr, 10, 13);
    cairo_line_to(cr, 6.5, 16);
    cairo_line_to(cr, 6.5, 4);
    cairo_line_to(cr, 10, 7);
    cairo_line_to(cr, 3, 13.5);
    cairo_stroke(cr);
    if (extra) glyph(cr, extra, 9, ink, 17, 10);
  };
}

void lock(cairo_t* cr, double, const Colour&) {
  cairo_set_line_width(cr, 1.8);
  cairo_arc(cr, 7, 8, 3.5, kPi, 2 * kPi);
  cairo_line_to(cr, 10.5, 10);
  cairo_move_to(cr, 3.5, 10);
  cairo_line_to(cr, 3.5, 8);
  cairo_stroke(cr);
  cairo_rectangle(cr, 1.5, 10, 11, 7);
  cairo_fill(cr);
}

void wifi(cairo_t* cr, double, const Colour&) {
  cairo_set_line_width(cr, 2);
  for (double radius : {4.0, 8.0, 12.0}) {
    cairo_arc(cr, 9, 16, radius, -kPi * 3 / 4, -kPi / 4);
    cairo_stroke(cr);
  }
  cairo_arc(cr, 9, 16, 1.5, 0, 2 * kPi);
  cairo_fill(cr);
}

struct StatusImage {
  const char* name;
  double width;
  Mark mark;
};

void statusImage(const std::string& file, const StatusImage& art, bool onBlack) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(art.width), 20));
  cairo_t* cr = cairo_create(surface.get());
  double grey = onBlack ? 1 : 0.15;
  const Colour ink{grey, grey, grey};
  const Colour edge{1 - grey, 1 - grey, 1 - grey, 0.5};  // an engraved edge
  setColour(cr, edge);
  cairo_save(cr);
  cairo_translate(cr, 0, onBlack ? -1 : 1);
  art.mark(cr, art.width, edge);
  cairo_restore(cr);
  setColour(cr, ink);
  art.mark(cr, art.width, ink);
  cairo_destroy(cr);
  save(surface, file);
}

void springBoardImages() {
  const std::string app = "System/Library/CoreServices/SpringBoard.app/";
  const std::vector<StatusImage> both = {{"Airplane", 18, text("✈", 15)},
                                         {"Alarm", 16, text("◷", 14)},
                                         {"BatteryCharging", 12, text("⚡", 14)},
                                         {"Bluetooth", 13, bluetooth()},
                                         {"BluetoothBattery", 24, bluetooth("▮")},
                                         {"Headset", 16, text("☊", 15)},
                                         {"Lock", 14, lock},
                                         {"Play", 12, text("▶", 11)},
                                         {"TTY", 26, text("TTY", 10)},
                                         {"VPN", 26, text("VPN", 10)},
                                         {"Wifi", 18, wifi}};
  const std::vector<StatusImage> defaultOnly = {{"BluetoothActive", 13, bluetooth()},
                                                {"BluetoothHeadsetConnected", 26, bluetooth("☊")},
                                                {"CallForward", 16, text("↪", 14)}};
  const std::vector<StatusImage> fsoOnly = {{"Location", 14, text("➤", 12)}};
  for (const auto& art : both) {
    statusImage(app + "Default_" + art.name + ".png", art, true);
    statusImage(app + "FSO_" + art.name + ".png", art, false);
  }
  for (const auto& art : defaultOnly) statusImage(app + "Default_" + art.name + ".png", art, true);
  for (const auto& art : fsoOnly) statusImage(app + "FSO_" + art.name + ".png", art, false);

  // The badge: a red oval in a white rim, as wide as it is high; SpringBoard
  // stretches its middle for longer texts.
  Surface badge(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 29, 29));
  cairo_t* cr = cairo_create(badge.get());
  cairo_arc(cr, 14.5, 15.5, 13, 0, 2 * kPi);
  setColour(cr, {0, 0, 0, 0.35});
  cairo_fill(cr);
  cairo_arc(cr, 14.5, 14, 13, 0, 2 * kPi);
  setColour(cr, {1, 1, 1});
  cairo_fill(cr);
  cairo_arc(cr, 14.5, 14, 10.5, 0, 2 * kPi);
  verticalGradient(cr, 3.5, 24.5, {{0, {0.97, 0.4, 0.4}}, {0.5, {0.86, 0.05, 0.05}}, {1, {0.72, 0, 0}}});
  cairo_destroy(cr);
  save(badge, app + "BadgeBackground.png");

  // The black, slightly translucent bar of the home screen.
  Surface bar(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 20));
  cr = cairo_create(bar.get());
  verticalGradient(cr, 0, 20, {{0, {0.2, 0.2, 0.2, 0.85}}, {1, {0, 0, 0, 0.85}}}, Area::everything);
  cairo_destroy(cr);
  save(bar, app + "BarBackground.png");

  // The dock: a glass shelf with a bright edge along its top.
  Surface dock(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 320, 90));
  cr = cairo_create(dock.get());
  verticalGradient(cr, 0, 90,
                   {{0, {0.8, 0.83, 0.88, 0.6}},
                    {0.5, {0.5, 0.53, 0.58, 0.5}},
                    {0.5, {0.3, 0.32, 0.36, 0.55}},
                    {1, {0.15, 0.16, 0.18, 0.7}}},
                   Area::everything);
  cairo_rectangle(cr, 0, 0, 320, 1);
  setColour(cr, {1, 1, 1, 0.7});
  cairo_fill(cr);
  cairo_destroy(cr);
  save(dock, app + "SBDockBG.png");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DEVICE-FOLDER\n", argv[0]);
    return 2;
  }
  device = argv[1];
  for (const Icon& art : kIcons) icon(art);
  springBoardImages();
  return 0;
}
