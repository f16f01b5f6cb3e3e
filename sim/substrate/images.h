#pragma once

// The images loaded into the process (the program and its libraries), which
// the substrate names by where their ELF header is mapped, as the device
// names an image by its Mach-O header.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "substrate.h"

namespace substrate {

struct Image {
  MSImageRef header;    // the ELF header in memory: the image's reference
  std::uintptr_t bias;  // what the file's addresses are moved by in memory
  std::string file;     // the host file it was loaded from
};

// Every loaded image that has a file, the program first, in load order.
std::vector<Image> loadedImages();

// The loaded image whose reference this is.
std::optional<Image> imageOf(MSImageRef header);

// The loaded image whose mapping holds the address.
std::optional<Image> imageContaining(const void* address);

// Tells the substrate which process this is, so that the program's image
// answers for the device path of the process's executable when the program
// does not sit at that path (as the build tree's springboard does not).
void noteProcess(std::string_view bundleIdentifier, std::string_view executableName);

}  // namespace substrate
