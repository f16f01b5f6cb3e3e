#pragma once

// A fresh device for each test: `springboard --new-root DIR`.

#include <filesystem>

namespace springboard {

// Where a new root comes from.
struct SampleDevice {
  // A whole device root: the sample tree with the frameworks, the substrate
  // and the kit's own extensions. What no run writes is shared from here.
  std::filesystem::path device;
  // The sample tree as shipped, which no run writes either: the folders a
  // run writes (private/) are copied from here, so a new root holds nothing
  // an earlier run left in the device above.
  std::filesystem::path tree;
};

// This program's sample device: the build tree's, or the installed one's.
SampleDevice sampleDevice();

// Makes dir, which must be missing or an empty folder, a clean sample
// device: private/ (the journal's and SpringBoard's state's folder, the
// preferences, the icon state, the user applications) and the extensions
// folder with the kit's own two extensions are its own; the system's parts,
// which only the build writes, are links into the sample device. False after
// a line on standard error; then dir is left as empty as it was.
bool makeNewRoot(const std::filesystem::path& dir);

}  // namespace springboard
