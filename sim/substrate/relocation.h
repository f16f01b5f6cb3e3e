#pragma once

// Moving a function's first instructions elsewhere, so that a jump can take
// their place: one implementation per processor (relocation_<processor>.cpp).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace substrate {

// A function's entry as the hook reads it.
struct FunctionCode {
  std::uintptr_t address;  // its first instruction's (without the Thumb mark)
  bool thumb;              // 32-bit ARM: it runs in Thumb state
  // Its bytes: the whole function when the symbol tables give its size,
  // otherwise as many as the first instructions may need.
  std::span<const std::uint8_t> bytes;
};

struct Relocation {
  std::vector<std::uint8_t> entryJump;  // written at the entry: the jump to the stub
  std::vector<std::uint8_t> copy;       // the moved instructions and the jump back
  std::uintptr_t copyEntry;             // where copy is called (with the Thumb mark)
};

// How near to the function the stub must be for its entry's jump (0:
// anywhere).
extern const std::uintptr_t kStubReach;
// Room for the stub at the start of the page; the copy follows.
inline constexpr std::size_t kStubRoom = 32;

// The moved instructions for running at copyAt, and the jump to the stub at
// stubAt; or why the function cannot be moved safely.
std::variant<Relocation, std::string> relocate(const FunctionCode& function, std::uintptr_t copyAt,
                                               std::uintptr_t stubAt);

// The stub: a jump from at to target, whatever the distance.
std::vector<std::uint8_t> stubJump(std::uintptr_t at, std::uintptr_t target);

}  // namespace substrate
