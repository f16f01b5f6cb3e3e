#pragma once

// The extension loader: what the substrate does when a process starts.

#include <string>
#include <string_view>
#include <vector>

#include "filter.h"
#include "substrate.h"

namespace substrate {

// The folder the extensions are installed in, as a device path.
inline constexpr const char* kExtensionsFolder = "/Library/MobileSubstrate/DynamicLibraries/";

// What became of one library of the extensions folder.
struct Extension {
  std::string name;     // the file name without ".dylib"
  std::string outcome;  // "loaded", "filtered out: KEY" or "failed: REASON"
};

// The names of the "*.dylib" files of the extensions folder, in load order:
// by their bytes. None when there is no folder.
SUBSTRATE_EXPORT std::vector<std::string> extensionNames();

// Opens, in load order and into the global scope, every library of the
// extensions folder whose "<name>.plist" filter takes the process (no plist,
// or one without "Filter", takes every process), each in an autorelease pool
// of its own. Every symbol a library needs is bound as it opens, so one that
// needs a symbol nothing defines is not loaded. A library that fails (its
// filter unreadable or of the wrong shape, no library, a symbol missing) is
// reported on standard error as "PROGRAM: not loading NAME: REASON", and the
// others load.
SUBSTRATE_EXPORT std::vector<Extension> loadExtensions(const Process& process, std::string_view program);

}  // namespace substrate
