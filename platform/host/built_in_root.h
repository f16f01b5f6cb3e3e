#pragma once

namespace platform {

// The device root a program takes when SBKIT_ROOT is not set. The build links
// one of two objects of built_in_root.cpp: the programs in the build tree get
// the build's sample device, the installed ones "/", as on the device.
const char* builtInDeviceRoot();

}  // namespace platform
