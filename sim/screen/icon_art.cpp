#include "icon_art.h"

#include <algorithm>

#include "drawing.h"
#include "platform/device_path.h"
#include "screen.h"

namespace screen {

namespace {

using drawing::Colour;
using drawing::kPi;
using drawing::TextStyle;
using layout::Rect;

constexpr double kIconRadius = 10;

constexpr TextStyle kLabelStyle{10, true, {1, 1, 1}, true};
constexpr TextStyle kBadgeStyle{13, true, {1, 1, 1}, false};

// An application without a usable picture: the blank grid of the era's
// default icon.
void placeholder(cairo_t* cr, const Rect& box) {
  drawing::verticalGradient(cr, box.y, box.bottom(), {{0, {0.94, 0.94, 0.95}}, {1, {0.76, 0.77, 0.79}}},
                            drawing::Area::everything);
  cairo_set_source_rgba(cr, 0.55, 0.56, 0.6, 0.6);
  cairo_set_line_width(cr, box.width / 57);
  for (int i = 1; i < 4; ++i) {
    double x = box.x + box.width * i / 4, y = box.y + box.height * i / 4;
    cairo_move_to(cr, x, box.y);
    cairo_line_to(cr, x, box.bottom());
    cairo_move_to(cr, box.x, y);
    cairo_line_to(cr, box.right(), y);
  }
  cairo_stroke(cr);
}

// The shine SpringBoard lays over icons: a bright arc over the upper half.
void shine(cairo_t* cr, const Rect& box) {
  cairo_save(cr);
  cairo_translate(cr, box.x + box.width / 2, box.y + box.height * 0.47 - box.height * 0.8);
  cairo_scale(cr, box.width * 0.95, box.height * 0.8);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  drawing::verticalGradient(cr, box.y, box.y + box.height * 0.47, {{0, {1, 1, 1, 0.6}}, {1, {1, 1, 1, 0.12}}});
}

// The calendar's icon is a blank page: SpringBoard writes today on it, the
// weekday in the red band at its top and the day below, in the icon's 57
// points however large it is drawn.
constexpr const char* kCalendarIdentifier = "com.apple.mobilecal";
void calendarDay(cairo_t* cr, const Rect& box, const std::tm& today) {
  double unit = box.width / layout::kIconSize;
  drawing::centredText(cr, weekdayText(today), {box.x, box.y, box.width, 15 * unit}, {10 * unit, true, {1, 1, 1}});
  drawing::centredText(cr, std::to_string(today.tm_mday), {box.x, box.y + 15 * unit, box.width, 42 * unit},
                       {28 * unit, true, {0.1, 0.1, 0.1}});
}

// An application's picture under the rounded mask, on its shadow; the
// placeholder when there is none. day, when given, is written on it.
void maskedPicture(cairo_t* cr, cairo_surface_t* image, bool withShine, const Rect& box, double radius,
                   const std::tm* day = nullptr) {
  cairo_save(cr);
  drawing::roundedRect(cr, {box.x, box.y + box.height / 38, box.width, box.height}, radius);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  drawing::roundedRect(cr, box, radius);
  cairo_clip(cr);
  if (image) drawing::image(cr, image, box);
  else placeholder(cr, box);
  if (image && day) calendarDay(cr, box, *day);
  if (withShine) shine(cr, box);
  cairo_restore(cr);
}

std::string lastComponent(const std::string& identifier) {
  std::size_t dot = identifier.rfind('.');
  return dot == std::string::npos ? identifier : identifier.substr(dot + 1);
}

}  // namespace

IconArt::IconArt(const AppCatalog& apps, std::FILE* notes, const std::tm& today)
    : apps_(apps), notes_(notes), today_(today) {}

void IconArt::picture(cairo_t* cr, const std::string& identifier, const Rect& box, double radius, bool withShine) {
  const Art& art = artOf(identifier);
  maskedPicture(cr, art.picture.get(), withShine && art.shine, box, radius,
                identifier == kCalendarIdentifier ? &today_ : nullptr);
}

void IconArt::drawAlone(cairo_t* cr, const std::string& identifier, const Rect& box) {
  picture(cr, identifier, box, kIconRadius, true);
}

const std::string* IconArt::badgeFor(const std::map<std::string, std::string, std::less<>>& badges,
                                     const HomeIcon& icon) {
  if (icon.kind != HomeIcon::Kind::application) return nullptr;
  auto found = badges.find(icon.identifier);
  if (found == badges.end()) found = badges.find(icon.identifier.substr(0, icon.identifier.rfind('-')));
  return found == badges.end() ? nullptr : &found->second;
}

const IconArt::Art& IconArt::artOf(const std::string& identifier) {
  if (auto known = art_.find(identifier); known != art_.end()) return known->second;
  Art art;
  if (std::optional<AppInfo> app = apps_.find(identifier)) {
    std::string why;
    art.picture = readPng(app->iconPath, why);
    if (!art.picture)
      std::fprintf(notes_, "springboard: cannot read %s (%s); drawing a placeholder icon\n", app->iconPath.c_str(),
                   why.c_str());
    art.name = app->displayName;
    art.shine = !app->prerenderedIcon;
  } else {
    std::fprintf(notes_, "springboard: no application for %s; drawing a placeholder icon\n", identifier.c_str());
    art.name = lastComponent(identifier);
  }
  return art_.emplace(identifier, std::move(art)).first->second;
}

void IconArt::draw(cairo_t* cr, const HomeIcon& icon, const Rect& box, const Decoration& decoration) {
  cairo_save(cr);
  if (decoration.tiltDegrees != 0) {
    cairo_translate(cr, box.x + box.width / 2, box.y + box.height / 2);
    cairo_rotate(cr, decoration.tiltDegrees * kPi / 180);
    cairo_translate(cr, -(box.x + box.width / 2), -(box.y + box.height / 2));
  }
  std::string name;
  switch (icon.kind) {
    case HomeIcon::Kind::application: {
      picture(cr, icon.identifier, box, kIconRadius, true);
      name = artOf(icon.identifier).name;
      break;
    }
    case HomeIcon::Kind::folder:
      folder(cr, icon, box);
      name = icon.folderName;
      break;
    case HomeIcon::Kind::unknown: maskedPicture(cr, nullptr, true, box, kIconRadius); break;
  }
  drawing::centredText(cr, name, layout::label(box), kLabelStyle);
  if (decoration.badge) badge(cr, *decoration.badge, box);
  if (decoration.editing) closeBox(cr, box);
  cairo_restore(cr);
}

// A folder: a dark glass tile holding its first icons, three by three.
void IconArt::folder(cairo_t* cr, const HomeIcon& icon, const Rect& box) {
  drawing::roundedRect(cr, box, kIconRadius);
  cairo_set_source_rgba(cr, 0.12, 0.13, 0.16, 0.78);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  constexpr double kMini = 13, kGap = 4;
  double margin = (box.width - 3 * kMini - 2 * kGap) / 2;
  for (std::size_t i = 0; i < icon.folderIcons.size() && i < kFolderPreviewIcons; ++i) {
    Rect mini{box.x + margin + double(i % 3) * (kMini + kGap), box.y + margin + double(i / 3) * (kMini + kGap), kMini,
              kMini};
    picture(cr, icon.folderIcons[i], mini, 3, false);
  }
}

void IconArt::badge(cairo_t* cr, const std::string& text, const Rect& icon) {
  double width =
      std::clamp(drawing::textWidth(cr, text, kBadgeStyle) + 18, layout::kBadgeHeight, layout::kBadgeMaxWidth);
  Rect box = layout::badge(icon, width);
  if (!badgeBackgroundRead_) {
    badgeBackgroundRead_ = true;
    std::string why;
    const std::string path = platform::kSpringBoardBundlePath + std::string("BadgeBackground.png");
    badgeBackground_ = readPng(path, why);
    if (!badgeBackground_)
      std::fprintf(notes_, "springboard: cannot read %s (%s); drawing badges without it\n", path.c_str(), why.c_str());
  }
  if (badgeBackground_) {
    drawing::stretchedImage(cr, badgeBackground_.get(), box);
  } else {
    // The oval as the device draws it: a white rim round a red, shining fill.
    Rect rim{box.x + 1, box.y + 1, box.width - 2, box.height - 3};
    drawing::roundedRect(cr, {rim.x, rim.y + 1.5, rim.width, rim.height}, rim.height / 2);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_fill(cr);
    drawing::roundedRect(cr, rim, rim.height / 2);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    Rect fill{rim.x + 2, rim.y + 2, rim.width - 4, rim.height - 4};
    drawing::roundedRect(cr, fill, fill.height / 2);
    drawing::verticalGradient(cr, fill.y, fill.bottom(),
                              {{0, {0.96, 0.35, 0.35}}, {0.5, {0.85, 0.05, 0.05}}, {1, {0.75, 0, 0}}});
  }
  drawing::centredText(cr, text, {box.x + 7, box.y, box.width - 14, box.height - 2}, kBadgeStyle);
}

// The close box of edit mode: a black disc in a white ring, with a white cross.
void IconArt::closeBox(cairo_t* cr, const Rect& icon) {
  Rect box = layout::closeBox(icon);
  double cx = box.x + box.width / 2, cy = box.y + box.height / 2, r = box.width / 2 - 1;
  cairo_arc(cr, cx, cy + 1, r, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r - 2.5, 0, 2 * kPi);
  drawing::verticalGradient(cr, cy - r, cy + r, {{0, {0.3, 0.3, 0.3}}, {1, {0, 0, 0}}});
  double arm = r * 0.38;
  cairo_move_to(cr, cx - arm, cy - arm);
  cairo_line_to(cr, cx + arm, cy + arm);
  cairo_move_to(cr, cx + arm, cy - arm);
  cairo_line_to(cr, cx - arm, cy + arm);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 2.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

}  // namespace screen
