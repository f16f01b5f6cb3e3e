#include "new_root.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

namespace springboard {

namespace {

namespace fs = std::filesystem;

constexpr const char* kExtensionsFolder = "Library/MobileSubstrate/DynamicLibraries";
constexpr const char* kKitExtensions[] = {"editdefer", "layoutkeeper"};

// A link at to to every entry of from but those named in kept.
void linkEntries(const fs::path& from, const fs::path& to, std::initializer_list<std::string_view> kept) {
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    std::string name = entry.path().filename().string();
    if (std::find(kept.begin(), kept.end(), name) == kept.end()) fs::create_symlink(entry.path(), to / name);
  }
}

[[noreturn]] void fail(const char* what) {
  throw fs::filesystem_error(what, std::error_code(errno, std::generic_category()));
}

// A descriptor that closes itself.
struct Descriptor {
  int fd;
  explicit Descriptor(int opened, const char* what) : fd(opened) {
    if (fd < 0) fail(what);
  }
  ~Descriptor() { ::close(fd); }
};

void copyFile(int from, int to, const char* name, const struct stat& st) {
  Descriptor source(openat(from, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW), "open");
  Descriptor target(openat(to, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777), "create");
  for (off_t left = st.st_size; left > 0;) {
    // sendfile, unlike copy_file_range, copies across file systems too.
    ssize_t sent = sendfile(target.fd, source.fd, nullptr, static_cast<std::size_t>(left));
    if (sent <= 0) fail("copy");
    left -= sent;
  }
}

// Copies the folder's entries into another, folders, files and links alike.
// Made of the *at calls alone: a root is hundreds of entries, and each call
// saved is one less on every test's start.
void copyEntries(int from, int to) {
  Descriptor listing(dup(from), "open");
  DIR* folder = fdopendir(listing.fd);
  if (folder == nullptr) fail("read");
  listing.fd = -1;
  std::unique_ptr<DIR, int (*)(DIR*)> closing(folder, &closedir);
  while (dirent* entry = readdir(folder)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    struct stat st;
    if (fstatat(from, name, &st, AT_SYMLINK_NOFOLLOW) != 0) fail("stat");
    if (S_ISDIR(st.st_mode)) {
      if (mkdirat(to, name, st.st_mode & 07777) != 0) fail("mkdir");
      Descriptor source(openat(from, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW), "open");
      Descriptor target(openat(to, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW), "open");
      copyEntries(source.fd, target.fd);
    } else if (S_ISLNK(st.st_mode)) {
      char link[PATH_MAX];
      ssize_t length = readlinkat(from, name, link, sizeof link - 1);
      if (length < 0) fail("readlink");
      link[length] = '\0';
      if (symlinkat(link, to, name) != 0) fail("symlink");
    } else if (S_ISREG(st.st_mode)) {
      copyFile(from, to, name, st);
    }
  }
}

void copyFolder(const fs::path& from, const fs::path& to) {
  fs::create_directory(to);
  Descriptor source(open(from.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), "open");
  Descriptor target(open(to.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), "open");
  copyEntries(source.fd, target.fd);
}

void lay(const fs::path& dir, const SampleDevice& sample) {
  fs::path device = fs::canonical(sample.device);
  copyFolder(sample.tree / "private", dir / "private");
  fs::create_symlink("private/var", dir / "var");
  linkEntries(device, dir, {"private", "var", "Library"});
  fs::create_directories(dir / kExtensionsFolder);
  linkEntries(device / "Library", dir / "Library", {"MobileSubstrate"});
  for (const char* extension : kKitExtensions)
    for (const char* suffix : {".dylib", ".plist"}) {
      std::string file = std::string(extension) + suffix;
      fs::copy_file(device / kExtensionsFolder / file, dir / kExtensionsFolder / file);
    }
}

}  // namespace

bool makeNewRoot(const fs::path& dir) {
  std::error_code error;
  bool existed = fs::exists(dir, error);
  if (existed && !(fs::is_directory(dir, error) && fs::is_empty(dir, error))) {
    std::fprintf(stderr, "springboard: cannot make a new root at %s: it is not an empty folder\n", dir.c_str());
    return false;
  }
  try {
    fs::create_directories(dir);
    lay(dir, sampleDevice());
    return true;
  } catch (const fs::filesystem_error& failure) {
    std::fprintf(stderr, "springboard: cannot make a new root at %s: %s\n", dir.c_str(),
                 failure.code().message().c_str());
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) fs::remove_all(entry.path(), error);
    if (!existed) fs::remove(dir, error);
    return false;
  }
}

}  // namespace springboard
