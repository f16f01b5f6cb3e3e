#include "code_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace substrate {

namespace {

std::uintptr_t pageSize() { return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)); }

struct Mapping {
  std::uintptr_t start, end;
  int protection;
};

// The process's mappings, from the kernel's list.
std::vector<Mapping> mappings() {
  std::vector<Mapping> found;
  std::FILE* maps = std::fopen("/proc/self/maps", "re");
  if (!maps) return found;
  char line[512];
  while (std::fgets(line, sizeof line, maps)) {
    unsigned long start = 0, end = 0;
    char permissions[5] = {};
    if (std::sscanf(line, "%lx-%lx %4s", &start, &end, permissions) != 3) continue;
    int protection = (permissions[0] == 'r' ? PROT_READ : 0) | (permissions[1] == 'w' ? PROT_WRITE : 0) |
                     (permissions[2] == 'x' ? PROT_EXEC : 0);
    found.push_back({start, end, protection});
  }
  std::fclose(maps);
  return found;
}

}  // namespace

void* allocatePageNear(std::uintptr_t near, std::uintptr_t reach) {
  const std::uintptr_t page = pageSize();
  if (reach == 0) {
    void* anywhere = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return anywhere == MAP_FAILED ? nullptr : anywhere;
  }
  // The kernel takes an address as a hint and places the page elsewhere when
  // it is taken; try hints on both sides, closest first, and keep a page
  // only when it landed within reach.
  const std::uintptr_t step = 1 << 20;
  const std::uintptr_t base = near & ~(page - 1);
  for (std::uintptr_t distance = step; distance < reach - page; distance += step) {
    for (int side = 0; side < 2; ++side) {
      std::uintptr_t hint = side == 0 ? base - distance : base + distance;
      if ((side == 0 && hint > base) || (side == 1 && hint < base)) continue;  // wrapped around
      void* got = mmap(reinterpret_cast<void*>(hint), page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (got == MAP_FAILED) continue;
      std::uintptr_t at = reinterpret_cast<std::uintptr_t>(got);
      if ((at > near ? at - near : near - at) < reach - page) return got;
      munmap(got, page);
    }
  }
  return nullptr;
}

bool sealPage(void* page) {
  char* start = static_cast<char*>(page);
  if (mprotect(page, pageSize(), PROT_READ | PROT_EXEC) != 0) return false;
  __builtin___clear_cache(start, start + pageSize());
  return true;
}

bool writeCode(std::uintptr_t address, std::span<const std::uint8_t> bytes) {
  const std::uintptr_t page = pageSize();
  const std::uintptr_t first = address & ~(page - 1);
  const std::uintptr_t last = (address + bytes.size() + page - 1) & ~(page - 1);
  // The protection of each page is given back as it was, page by page.
  std::vector<Mapping> restore;
  for (const Mapping& mapping : mappings()) {
    if (mapping.end <= first || mapping.start >= last) continue;
    restore.push_back({std::max(mapping.start, first), std::min(mapping.end, last), mapping.protection});
  }
  std::uintptr_t covered = first;
  for (const Mapping& range : restore) covered = range.start == covered ? range.end : covered;
  if (covered != last) return false;  // some of it is not mapped
  // Writable and still executable: the pages may hold the very code that
  // makes the write (a hook on the C library's own functions).
  if (mprotect(reinterpret_cast<void*>(first), last - first, PROT_READ | PROT_WRITE | PROT_EXEC) != 0 &&
      mprotect(reinterpret_cast<void*>(first), last - first, PROT_READ | PROT_WRITE) != 0)
    return false;
  std::memcpy(reinterpret_cast<void*>(address), bytes.data(), bytes.size());
  for (const Mapping& range : restore)
    mprotect(reinterpret_cast<void*>(range.start), range.end - range.start, range.protection);
  char* start = reinterpret_cast<char*>(address);
  __builtin___clear_cache(start, start + bytes.size());
  return true;
}

std::size_t readableFrom(std::uintptr_t address, std::size_t limit) {
  std::uintptr_t end = address;
  for (const Mapping& mapping : mappings()) {
    if (mapping.start > end || mapping.end <= end || !(mapping.protection & PROT_READ)) continue;
    end = mapping.end;
    if (end - address >= limit) return limit;
  }
  return end - address;
}

}  // namespace substrate
