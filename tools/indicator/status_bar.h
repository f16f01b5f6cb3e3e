#pragma once

// Status-bar items, added and removed through SpringBoard by name. SpringBoard
// is asked afresh for every call; the name is sent as typed, whether or not
// SpringBoard has an image for it.

namespace indicator {

// Adds the status-bar item.
void indicator(const char* name);
// Removes the status-bar item.
void rbar(const char* name);

}  // namespace indicator
