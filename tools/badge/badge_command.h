#pragma once

namespace badge {

// Prints the synopsis and exits with status 255.
[[noreturn]] void usage(const char* programName);

// Sets the text badge of an application's icon through SpringBoard; the text
// goes as it is, the empty text included.
void badge(const char* bundleId, const char* text);

}  // namespace badge
