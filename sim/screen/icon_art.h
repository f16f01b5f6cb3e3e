#pragma once

// The home screen's icons: an application's picture under the rounded mask
// and its shine, a folder of small icons, the name below, the badge and, in
// edit mode, the close box.

#include <cairo.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <string>

#include "app_catalog.h"
#include "home_layout.h"
#include "home_screen.h"
#include "png_image.h"

namespace screen {

class IconArt {
 public:
  // Problems (no application for an identifier, an icon that cannot be read)
  // are noted on notes, once each, and drawn as the placeholder icon. The
  // calendar's icon shows the weekday and the day of today.
  IconArt(const AppCatalog& apps, std::FILE* notes, const std::tm& today);

  struct Decoration {
    const std::string* badge = nullptr;  // no badge when null
    bool editing = false;
    double tiltDegrees = 0;
  };
  void draw(cairo_t* cr, const HomeIcon& icon, const layout::Rect& box, const Decoration& decoration);
  // An application's icon alone, without its name: as an opening application shows.
  void drawAlone(cairo_t* cr, const std::string& identifier, const layout::Rect& box);

  // The badge text an icon shows, from the badges by identifier: its own, or
  // the bundle's for a role such as "-Camera".
  static const std::string* badgeFor(const std::map<std::string, std::string, std::less<>>& badges,
                                     const HomeIcon& icon);

 private:
  struct Art {
    Surface picture;  // null: the placeholder
    std::string name;
    bool shine = true;
  };
  const Art& artOf(const std::string& identifier);
  void picture(cairo_t* cr, const std::string& identifier, const layout::Rect& box, double radius, bool shine);
  void folder(cairo_t* cr, const HomeIcon& icon, const layout::Rect& box);
  void badge(cairo_t* cr, const std::string& text, const layout::Rect& icon);
  void closeBox(cairo_t* cr, const layout::Rect& icon);

  const AppCatalog& apps_;
  std::FILE* notes_;
  std::tm today_;
  std::map<std::string, Art, std::less<>> art_;
  Surface badgeBackground_;
  bool badgeBackgroundRead_ = false;
};

}  // namespace screen
