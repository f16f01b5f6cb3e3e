#pragma once

// The picture of the home screen: the status bar, a page of icons, the page
// dots and the dock, drawn at layout::kScale pixels per point.

#include <cstdio>
#include <string>

#include "app_catalog.h"
#include "png_image.h"
#include "screen.h"

namespace screen {

// Draws the screen. Whatever cannot be drawn as intended (a missing font,
// image or application) is drawn in a stated fallback and noted on notes.
Surface drawScreen(const Screen& screen, const AppCatalog& apps, std::FILE* notes);

}  // namespace screen
