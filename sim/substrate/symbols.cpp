#include "symbols.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "images.h"

namespace substrate {

namespace {

// The class of this process's files. (The type and binding of a symbol are
// read alike in both classes.)
constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// An ELF file of this process's class, mapped read-only while it is read.
class ElfFile {
 public:
  explicit ElfFile(const std::string& path) {
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return;
    struct stat status {};
    if (fstat(descriptor, &status) == 0 && status.st_size >= static_cast<off_t>(sizeof(ElfW(Ehdr)))) {
      size_ = static_cast<std::size_t>(status.st_size);
      void* mapped = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, descriptor, 0);
      if (mapped != MAP_FAILED) bytes_ = static_cast<const unsigned char*>(mapped);
    }
    close(descriptor);
    if (bytes_ && !valid()) {
      munmap(const_cast<unsigned char*>(bytes_), size_);
      bytes_ = nullptr;
    }
  }
  ~ElfFile() {
    if (bytes_) munmap(const_cast<unsigned char*>(bytes_), size_);
  }
  ElfFile(const ElfFile&) = delete;
  ElfFile& operator=(const ElfFile&) = delete;

  // Calls visit with each defined symbol and its name, of both tables.
  void forEachSymbol(const std::function<void(const ElfW(Sym) &, std::string_view)>& visit) const {
    if (!bytes_) return;
    const ElfW(Ehdr)& header = *reinterpret_cast<const ElfW(Ehdr)*>(bytes_);
    const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(bytes_ + header.e_shoff);
    for (unsigned i = 0; i < header.e_shnum; ++i) {
      const ElfW(Shdr)& table = sections[i];
      if ((table.sh_type != SHT_SYMTAB && table.sh_type != SHT_DYNSYM) || table.sh_link >= header.e_shnum ||
          table.sh_entsize != sizeof(ElfW(Sym)) || !within(table.sh_offset, table.sh_size))
        continue;
      const ElfW(Shdr)& strings = sections[table.sh_link];
      if (!within(strings.sh_offset, strings.sh_size)) continue;
      const char* names = reinterpret_cast<const char*>(bytes_ + strings.sh_offset);
      const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(bytes_ + table.sh_offset);
      for (std::size_t s = 0; s < table.sh_size / sizeof(ElfW(Sym)); ++s) {
        const ElfW(Sym)& symbol = symbols[s];
        if (symbol.st_shndx == SHN_UNDEF || symbol.st_shndx == SHN_ABS || symbol.st_name >= strings.sh_size) continue;
        const char* name = names + symbol.st_name;
        visit(symbol, std::string_view(name, strnlen(name, strings.sh_size - symbol.st_name)));
      }
    }
  }

 private:
  bool within(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  bool valid() const {
    const ElfW(Ehdr)& header = *reinterpret_cast<const ElfW(Ehdr)*>(bytes_);
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == kNativeClass &&
           header.e_shentsize == sizeof(ElfW(Shdr)) &&
           within(header.e_shoff, std::uint64_t{header.e_shnum} * sizeof(ElfW(Shdr)));
  }

  const unsigned char* bytes_ = nullptr;
  std::size_t size_ = 0;
};

bool codeOrData(const ElfW(Sym) & symbol) {
  int type = ELF64_ST_TYPE(symbol.st_info);
  return type == STT_FUNC || type == STT_OBJECT || type == STT_GNU_IFUNC || type == STT_NOTYPE;
}

// Where a function's code starts: 32-bit ARM marks Thumb functions with the
// lowest bit of their value.
std::uintptr_t codeStart(std::uintptr_t value) {
#if defined(__arm__)
  return value & ~std::uintptr_t{1};
#else
  return value;
#endif
}

}  // namespace

std::optional<FileSymbol> findFileSymbol(const std::string& file, std::string_view name) {
  std::optional<FileSymbol> found;
  bool global = false;
  ElfFile(file).forEachSymbol([&](const ElfW(Sym) & symbol, std::string_view symbolName) {
    if (global || symbolName != name || !codeOrData(symbol)) return;
    found = FileSymbol{symbol.st_value, symbol.st_size, ELF64_ST_TYPE(symbol.st_info) == STT_GNU_IFUNC};
    global = ELF64_ST_BIND(symbol.st_info) != STB_LOCAL;
  });
  return found;
}

std::optional<FileSymbol> functionAt(const std::string& file, std::uintptr_t fileAddress) {
  std::optional<FileSymbol> found;
  ElfFile(file).forEachSymbol([&](const ElfW(Sym) & symbol, std::string_view) {
    int type = ELF64_ST_TYPE(symbol.st_info);
    std::uintptr_t start = codeStart(symbol.st_value);
    if (!found && (type == STT_FUNC || type == STT_GNU_IFUNC) && start <= fileAddress &&
        fileAddress < start + symbol.st_size)
      found = FileSymbol{symbol.st_value, symbol.st_size, type == STT_GNU_IFUNC};
  });
  return found;
}

}  // namespace substrate

extern "C" void* MSFindSymbol(MSImageRef image, const char* name) {
  // The device's names are the C names with an underscore before them.
  if (name == nullptr || name[0] != '_') return nullptr;
  std::vector<substrate::Image> images;
  if (image == nullptr) {
    images = substrate::loadedImages();
  } else if (std::optional<substrate::Image> one = substrate::imageOf(image)) {
    images.push_back(*one);
  }
  for (const substrate::Image& candidate : images) {
    std::optional<substrate::FileSymbol> symbol = substrate::findFileSymbol(candidate.file, name + 1);
    if (!symbol) continue;
    if (symbol->indirect) {
      // The value is the resolver's; the dynamic loader knows which
      // implementation it chose for this process.
      void* handle = dlopen(candidate.file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
      void* chosen = handle ? dlsym(handle, name + 1) : nullptr;
      if (handle) dlclose(handle);
      if (chosen) return chosen;
      continue;
    }
    return reinterpret_cast<void*>(candidate.bias + symbol->value);
  }
  return nullptr;
}
