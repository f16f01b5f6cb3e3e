#pragma once

// The status-bar images SpringBoard ships: the "png" entries at the top of its
// bundle folder whose names begin with "Default_" or "FSO_".

#include <string>
#include <vector>

namespace indicator {

// The listing for the entry names of SpringBoard's bundle folder, in their
// order: each item name (without its prefix and extension) and three tabs for
// up to 7 characters, two up to 15, one beyond, so names stand in three
// columns of tab stops; a line end after every third name and one at the end.
std::string listingOf(const std::vector<std::string>& entryNames);

// Prints the listing of SpringBoard's bundle folder in the order it lists its
// entries (a missing folder lists nothing) and exits with status 0.
[[noreturn]] void printStatusBarImages();

}  // namespace indicator
