#pragma once

// The picture of the screen, drawn at layout::kScale pixels per point: the
// status bar over the home screen (a page of icons, the page dots and the
// dock), the application in front, or the lock screen.

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
