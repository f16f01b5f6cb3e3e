#pragma once

namespace platform {

// The device root a program takes when SBKIT_ROOT is not set. The build links
// one of two definitions: the programs in the build tree get the build's
// sample device (build_tree_root.cpp), the installed ones "/", as on the
// device (installed_root.cpp).
const char* builtInDeviceRoot();

}  // namespace platform
