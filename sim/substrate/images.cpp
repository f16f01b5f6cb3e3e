#include "images.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "platform/device_path.h"

namespace substrate {

namespace {

// The bundles whose folder the substrate knows without reading the system's
// application lists: the one process the kit's extensions run in.
struct KnownBundle {
  std::string_view identifier;
  std::string_view folder;
};
constexpr KnownBundle kKnownBundles[] = {{"com.apple.springboard", platform::kSpringBoardBundlePath}};

std::mutex processMutex;
std::string programDevicePath;  // empty until the process is known

std::string programFile() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

int collect(dl_phdr_info* info, std::size_t, void* data) {
  auto* images = static_cast<std::vector<Image>*>(data);
  // The program comes without a name; the kernel's vDSO has no file.
  bool program = images->empty() && (info->dlpi_name == nullptr || *info->dlpi_name == '\0');
  std::string file = program ? programFile() : std::string(info->dlpi_name ? info->dlpi_name : "");
  if (file.empty() || access(file.c_str(), R_OK) != 0) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    // The header is the first bytes of the segment that maps the file's start.
    if (segment.p_type == PT_LOAD && segment.p_offset == 0) {
      images->push_back({reinterpret_cast<MSImageRef>(info->dlpi_addr + segment.p_vaddr), info->dlpi_addr, file});
      break;
    }
  }
  return 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

std::vector<Image> loadedImages() {
  std::vector<Image> images;
  dl_iterate_phdr(collect, &images);
  return images;
}

std::optional<Image> imageOf(MSImageRef header) {
  for (Image& image : loadedImages())
    if (image.header == header) return image;
  return std::nullopt;
}

std::optional<Image> imageContaining(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0) return std::nullopt;
  return imageOf(info.dli_fbase);
}

void noteProcess(std::string_view bundleIdentifier, std::string_view executableName) {
  std::lock_guard lock(processMutex);
  programDevicePath.clear();
  for (const KnownBundle& bundle : kKnownBundles)
    if (bundle.identifier == bundleIdentifier)
      programDevicePath = std::string(bundle.folder) + std::string(executableName);
}

}  // namespace substrate

using substrate::Image;

extern "C" MSImageRef MSGetImageByName(const char* file) {
  if (file == nullptr) return nullptr;
  std::vector<Image> images = substrate::loadedImages();
  {
    std::lock_guard lock(substrate::processMutex);
    std::string asked = std::filesystem::path(file).lexically_normal().string();
    // The program comes first, when its file could be read.
    if (!images.empty() && !substrate::programDevicePath.empty() && asked == substrate::programDevicePath &&
        images.front().file == substrate::programFile())
      return images.front().header;
  }
  std::string host = platform::hostPath(file).string();
  for (const Image& image : images)
    if (substrate::sameFile(host, image.file)) return image.header;
  return nullptr;
}
