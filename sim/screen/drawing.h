#pragma once

// Drawing helpers of the screen's picture and of the sample device's art,
// over cairo, with text set by Pango in the screen's font.

#include <cairo.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "home_layout.h"

namespace screen::drawing {

using layout::Rect;

inline constexpr const char* kFontFamily = "DejaVu Sans";
inline constexpr double kPi = 3.14159265358979323846;

struct Colour {
  double red, green, blue, alpha = 1;
};

struct TextStyle {
  double size = 12;  // points
  bool bold = true;
  Colour colour{1, 1, 1};
  bool shadow = false;   // a dark copy one point below, as on the home screen
  bool fallback = true;  // other fonts draw what the screen's font has no glyph for
};

// Draws text centred in box on one line, cut short with an ellipsis when it
// is wider. Ill-formed UTF-8 and control characters are shown as U+FFFD and
// blanks; very long texts are cut before they are laid out.
void centredText(cairo_t* cr, std::string_view text, const Rect& box, const TextStyle& style);
// Draws text from the left edge of box, vertically centred; returns its width.
double leftText(cairo_t* cr, std::string_view text, const Rect& box, const TextStyle& style);
double textWidth(cairo_t* cr, std::string_view text, const TextStyle& style);
// Draws text with the centre of its ink at (x, y), as a mark is placed on an
// icon; false, and nothing drawn, when a character has no glyph in the fonts
// the style allows.
bool inkCentredText(cairo_t* cr, std::string_view text, double x, double y, const TextStyle& style);

// Why texts will not look as intended (the screen's font is missing), or nothing.
std::optional<std::string> fontProblem();

void roundedRect(cairo_t* cr, const Rect& box, double radius);
void setColour(cairo_t* cr, const Colour& colour);

struct Stop {
  double offset;  // 0 at the top, 1 at the bottom
  Colour colour;
};
enum class Area { path, everything };
// Fills the current path, or paints everything inside the clip, with colours
// that run from top to bottom.
void verticalGradient(cairo_t* cr, double top, double bottom, std::initializer_list<Stop> stops,
                      Area area = Area::path);

// Draws the whole image scaled into box, with smooth filtering.
void image(cairo_t* cr, cairo_surface_t* picture, const Rect& box);
// Draws the image stretched to box by its middle column only, so its rounded
// ends keep their shape (a badge background, a bar).
void stretchedImage(cairo_t* cr, cairo_surface_t* picture, const Rect& box);

}  // namespace screen::drawing
