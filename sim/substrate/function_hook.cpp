// MSHookFunction: a jump written over the function's first instructions
// leads to a stub in a page of the substrate's, which jumps to the
// replacement; the moved instructions, followed by a jump back, behave as
// the function did before.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <variant>

#include "code_memory.h"
#include "images.h"
#include "relocation.h"
#include "substrate.h"
#include "symbols.h"

namespace {

// The bytes read past the entry when the function's size is unknown: enough
// for the longest run of instructions the jump can cover.
constexpr std::size_t kEntryBytes = 64;
// A function is scanned for branches into its first bytes up to this size.
constexpr std::size_t kLongestScan = 1 << 16;

std::mutex hooksMutex;
// Each function hooked so far, by the address of its code: a second hook
// only points the stub elsewhere, and what the function did before it is
// the earlier hook's replacement.
struct Hooked {
  std::uintptr_t stub;
  void* replacement;
};
std::map<std::uintptr_t, Hooked> hooked;

void warn(const void* symbol, const std::string& reason) {
  std::fprintf(stderr, "MS:Warning: cannot hook %p: %s\n", symbol, reason.c_str());
}

// How many bytes the function has from address on, by the symbol tables of
// its image; 0 when none of them covers the address.
std::size_t functionSize(std::uintptr_t address) {
  std::optional<substrate::Image> image = substrate::imageContaining(reinterpret_cast<const void*>(address));
  if (!image) return 0;
  std::optional<substrate::FileSymbol> symbol = substrate::functionAt(image->file, address - image->bias);
  if (!symbol) return 0;
  std::uintptr_t start = symbol->value;
#if defined(__arm__)
  start &= ~std::uintptr_t{1};  // the Thumb mark
#endif
  return symbol->size - (address - image->bias - start);
}

bool pointStub(std::uintptr_t stub, void* replacement) {
  return substrate::writeCode(stub, substrate::stubJump(stub, reinterpret_cast<std::uintptr_t>(replacement)));
}

}  // namespace

extern "C" void MSHookFunction(void* symbol, void* replacement, void** result) {
  if (symbol == nullptr || replacement == nullptr) {
    std::fprintf(stderr, "MS:Warning: nil %s argument for MSHookFunction\n", symbol ? "replacement" : "symbol");
    return;
  }
  std::lock_guard lock(hooksMutex);
  const auto entry = reinterpret_cast<std::uintptr_t>(symbol);
#if defined(__arm__)
  const bool thumb = entry & 1;
#else
  const bool thumb = false;
#endif
  const std::uintptr_t address = thumb ? entry - 1 : entry;

  if (auto earlier = hooked.find(address); earlier != hooked.end()) {
    void* previous = earlier->second.replacement;
    if (!pointStub(earlier->second.stub, replacement)) return warn(symbol, "its stub cannot be written");
    earlier->second.replacement = replacement;
    if (result) *result = previous;
    return;
  }

  std::size_t size = functionSize(address);
  std::size_t available = substrate::readableFrom(address, size ? std::min(size, kLongestScan) : kEntryBytes);
  if (available == 0) return warn(symbol, "its code cannot be read");
  const substrate::FunctionCode function{address, thumb, {reinterpret_cast<const std::uint8_t*>(address), available}};

  void* page = substrate::allocatePageNear(address, substrate::kStubReach);
  if (page == nullptr) return warn(symbol, "no memory for its trampoline within reach");
  const auto stub = reinterpret_cast<std::uintptr_t>(page);
  std::variant<substrate::Relocation, std::string> planned =
      substrate::relocate(function, stub + substrate::kStubRoom, stub);
  if (const std::string* refusal = std::get_if<std::string>(&planned)) {
    munmap(page, static_cast<std::size_t>(sysconf(_SC_PAGESIZE)));
    return warn(symbol, *refusal);
  }
  const substrate::Relocation& relocation = std::get<substrate::Relocation>(planned);
  const auto pageBytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  std::vector<std::uint8_t> jump = substrate::stubJump(stub, reinterpret_cast<std::uintptr_t>(replacement));
  std::memcpy(page, jump.data(), jump.size());
  std::memcpy(static_cast<char*>(page) + substrate::kStubRoom, relocation.copy.data(), relocation.copy.size());
  if (!substrate::sealPage(page)) {
    munmap(page, pageBytes);
    return warn(symbol, "its trampoline cannot be made executable");
  }
  // The moved instructions are published before any caller can reach the
  // replacement, which may call them at once.
  void* before = result ? *result : nullptr;
  if (result) *result = reinterpret_cast<void*>(relocation.copyEntry);
  if (!substrate::writeCode(address, relocation.entryJump)) {
    if (result) *result = before;
    munmap(page, pageBytes);
    return warn(symbol, "its code cannot be made writable");
  }
  hooked[address] = {stub, replacement};
}
