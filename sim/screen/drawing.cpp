#include "drawing.h"

#include <hb-ot.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/text.h"

namespace screen::drawing {

namespace {

// A label never shows more than this; longer texts are cut before layout so
// that a hostile name costs nothing.
constexpr std::size_t kMaxTextBytes = 256;

template <class T, void (*release)(T*)>
struct Releaser {
  void operator()(T* object) const { release(object); }
};
using Layout = std::unique_ptr<PangoLayout, Releaser<void, g_object_unref>>;
using FontDescription =
    std::unique_ptr<PangoFontDescription, Releaser<PangoFontDescription, pango_font_description_free>>;

// Valid UTF-8 without control characters, at most kMaxTextBytes long.
std::string displayable(std::string_view text) {
  std::string shown = platform::replacingInvalidUtf8(text.substr(0, kMaxTextBytes + 4));
  if (shown.size() > kMaxTextBytes) {
    std::size_t end = kMaxTextBytes;
    while (end > 0 && (static_cast<unsigned char>(shown[end]) & 0xc0) == 0x80) --end;
    shown.resize(end);
  }
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return shown;
}

FontDescription fontFor(const TextStyle& style) {
  FontDescription font(pango_font_description_new());
  pango_font_description_set_family(font.get(), kFontFamily);
  pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font.get(), style.size * PANGO_SCALE);
  return font;
}

Layout layoutFor(cairo_t* cr, std::string_view text, const TextStyle& style) {
  Layout layout(pango_cairo_create_layout(cr));
  FontDescription font = fontFor(style);
  pango_layout_set_font_description(layout.get(), font.get());
  std::string shown = displayable(text);
  pango_layout_set_text(layout.get(), shown.data(), int(shown.size()));
  pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
  if (!style.fallback) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_fallback_new(FALSE));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
  }
  return layout;
}

// Whether a run of the text is set in a font of colour glyphs (an emoji font),
// which paints its own colours whatever the source.
bool hasColourGlyphs(PangoLayout* layout) {
  std::unique_ptr<PangoLayoutIter, Releaser<PangoLayoutIter, pango_layout_iter_free>> runs(
      pango_layout_get_iter(layout));
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(runs.get());
    if (!run || !run->item->analysis.font) continue;  // no font at all: boxes
    hb_face_t* face = hb_font_get_face(pango_font_get_hb_font(run->item->analysis.font));
    if (hb_ot_color_has_png(face) || hb_ot_color_has_layers(face) || hb_ot_color_has_svg(face)) return true;
  } while (pango_layout_iter_next_run(runs.get()));
  return false;
}

void show(cairo_t* cr, PangoLayout* layout, double x, double y, const TextStyle& style) {
  if (style.shadow && !hasColourGlyphs(layout)) {
    cairo_set_source_rgba(cr, 0, 0, 0, 0.75 * style.colour.alpha);
    cairo_move_to(cr, x, y + 1);
    pango_cairo_show_layout(cr, layout);
  } else if (style.shadow) {
    // The shadow is the text's shape in black: drawn straight, a colour
    // glyph would ignore the black and show twice.
    cairo_push_group(cr);
    cairo_move_to(cr, x, y + 1);
    pango_cairo_show_layout(cr, layout);
    cairo_pattern_t* shape = cairo_pop_group(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.75 * style.colour.alpha);
    cairo_mask(cr, shape);
    cairo_pattern_destroy(shape);
  }
  setColour(cr, style.colour);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
}

double logicalWidth(PangoLayout* layout, double* height = nullptr) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  if (height) *height = double(logical.height) / PANGO_SCALE;
  return double(logical.width) / PANGO_SCALE;
}

}  // namespace

void centredText(cairo_t* cr, std::string_view text, const Rect& box, const TextStyle& style) {
  Layout layout = layoutFor(cr, text, style);
  pango_layout_set_width(layout.get(), int(box.width * PANGO_SCALE));
  pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
  double height;
  logicalWidth(layout.get(), &height);
  show(cr, layout.get(), box.x, box.y + (box.height - height) / 2, style);
}

double leftText(cairo_t* cr, std::string_view text, const Rect& box, const TextStyle& style) {
  Layout layout = layoutFor(cr, text, style);
  pango_layout_set_width(layout.get(), int(box.width * PANGO_SCALE));
  pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  double height;
  double width = logicalWidth(layout.get(), &height);
  show(cr, layout.get(), box.x, box.y + (box.height - height) / 2, style);
  return std::min(width, box.width);
}

double textWidth(cairo_t* cr, std::string_view text, const TextStyle& style) {
  return logicalWidth(layoutFor(cr, text, style).get());
}

bool inkCentredText(cairo_t* cr, std::string_view text, double x, double y, const TextStyle& style) {
  Layout layout = layoutFor(cr, text, style);
  if (pango_layout_get_unknown_glyphs_count(layout.get())) return false;
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout.get(), &ink, nullptr);
  show(cr, layout.get(), x - ink.x - ink.width / 2.0, y - ink.y - ink.height / 2.0, style);
  return true;
}

std::optional<std::string> fontProblem() {
  PangoFontMap* fonts = pango_cairo_font_map_get_default();  // owned by Pango
  std::unique_ptr<PangoContext, Releaser<void, g_object_unref>> context(pango_font_map_create_context(fonts));
  FontDescription wanted = fontFor(TextStyle{});
  std::unique_ptr<PangoFont, Releaser<void, g_object_unref>> font(
      pango_font_map_load_font(fonts, context.get(), wanted.get()));
  if (!font) return "no font found: texts are drawn as boxes";
  FontDescription got(pango_font_describe(font.get()));
  const char* family = pango_font_description_get_family(got.get());
  if (!family || std::string_view(family) != kFontFamily)
    return std::string("font \"") + kFontFamily + "\" not found: texts are drawn in " +
           (family ? family : "another font");
  return std::nullopt;
}

void roundedRect(cairo_t* cr, const Rect& box, double radius) {
  radius = std::min({radius, box.width / 2, box.height / 2});
  constexpr double kQuarter = kPi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, box.right() - radius, box.y + radius, radius, -kQuarter, 0);
  cairo_arc(cr, box.right() - radius, box.bottom() - radius, radius, 0, kQuarter);
  cairo_arc(cr, box.x + radius, box.bottom() - radius, radius, kQuarter, 2 * kQuarter);
  cairo_arc(cr, box.x + radius, box.y + radius, radius, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

void setColour(cairo_t* cr, const Colour& colour) {
  cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
}

void verticalGradient(cairo_t* cr, double top, double bottom, std::initializer_list<Stop> stops, Area area) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, top, 0, bottom);
  for (const Stop& stop : stops)
    cairo_pattern_add_color_stop_rgba(gradient, stop.offset, stop.colour.red, stop.colour.green, stop.colour.blue,
                                      stop.colour.alpha);
  cairo_set_source(cr, gradient);
  if (area == Area::everything) cairo_paint(cr);
  else cairo_fill(cr);
  cairo_pattern_destroy(gradient);
}

namespace {

// Paints the source columns [from, from + width) of picture into box.
void slice(cairo_t* cr, cairo_surface_t* picture, double from, double width, const Rect& box) {
  if (width <= 0 || box.width <= 0) return;
  double height = cairo_image_surface_get_height(picture);
  cairo_save(cr);
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_clip(cr);
  cairo_translate(cr, box.x, box.y);
  cairo_scale(cr, box.width / width, box.height / height);
  cairo_set_source_surface(cr, picture, -from, 0);
  // Padding keeps the clipped edges from fading into transparency.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace

void image(cairo_t* cr, cairo_surface_t* picture, const Rect& box) {
  slice(cr, picture, 0, cairo_image_surface_get_width(picture), box);
}

void stretchedImage(cairo_t* cr, cairo_surface_t* picture, const Rect& box) {
  double width = cairo_image_surface_get_width(picture), height = cairo_image_surface_get_height(picture);
  double scale = box.height / height;
  double cap = std::floor(std::min(width, height) / 2);
  double rightCap = width - cap - 1;
  double middle = box.width - (cap + rightCap) * scale;
  if (cap < 1 || middle <= 0) return image(cr, picture, box);
  slice(cr, picture, 0, cap, {box.x, box.y, cap * scale, box.height});
  slice(cr, picture, cap, 1, {box.x + cap * scale, box.y, middle, box.height});
  slice(cr, picture, cap + 1, rightCap, {box.right() - rightCap * scale, box.y, rightCap * scale, box.height});
}

}  // namespace screen::drawing
