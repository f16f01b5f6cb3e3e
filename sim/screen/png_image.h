#pragma once

// PNG images: the device's, read with care (any file may be hostile, so only
// a plain file of bounded size whose header names bounded dimensions is
// handed to the decoder), and the screen's picture, written to a host file.

#include <cairo.h>

#include <memory>
#include <string>

namespace screen {

struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

// Larger files, or images wider or higher than this, are not drawn.
inline constexpr std::size_t kMaxPngBytes = 8 << 20;
inline constexpr unsigned kMaxPngSide = 2048;

// The image at a device path; null, with why set to a short reason, when it is
// missing, not a plain file, too large or not a PNG image.
Surface readPng(const std::string& devicePath, std::string& why);

// Writes a picture as a PNG to a host file, whole or not at all (the
// platform's atomic write). False, with why set, when it cannot be written;
// nothing is left behind then.
bool writePng(cairo_surface_t* picture, const std::string& hostFile, std::string& why);

}  // namespace screen
