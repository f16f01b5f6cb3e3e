#pragma once

// The symbol tables of an ELF file on disk: the full table (.symtab) where
// the file still carries it, and the dynamic one the loader reads.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace substrate {

struct FileSymbol {
  std::uintptr_t value;  // its address in the file, before the image is moved
  std::size_t size;
  bool indirect;  // a GNU indirect function: value is its resolver's
};

// The function or object defined in the file under this ELF name; a global
// definition is preferred to a file-local one of the same name.
std::optional<FileSymbol> findFileSymbol(const std::string& file, std::string_view name);

// The function of the file whose bytes hold the file address.
std::optional<FileSymbol> functionAt(const std::string& file, std::uintptr_t fileAddress);

}  // namespace substrate
