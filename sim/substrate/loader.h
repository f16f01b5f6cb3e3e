#pragma once

// The extension loader: what the substrate does when a process starts.

#include <string>
#include <string_view>
#include <vector>

#include "substrate.h"

namespace substrate {

// The folder the extensions are installed in, as a device path.
inline constexpr const char* kExtensionsFolder = "/Library/MobileSubstrate/DynamicLibraries/";

// Opens, in name order and with RTLD_LAZY | RTLD_GLOBAL, every "<name>.dylib"
// of the extensions folder whose "<name>.plist" filter matches the process.
// No filter plist means everywhere; a corrupt one is skipped, and a library
// that does not open is reported, each with a warning on standard error.
// Returns the device paths of the libraries opened.
SUBSTRATE_EXPORT std::vector<std::string> loadExtensions(std::string_view bundleIdentifier,
                                                         std::string_view executableName);

}  // namespace substrate
