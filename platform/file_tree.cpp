#include "platform/file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/device_path.h"

namespace platform {

bool fileExists(std::string_view devicePath) {
  struct stat st;
  return lstat(hostPath(devicePath).c_str(), &st) == 0;
}

namespace {

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

std::vector<std::string> directoryContents(std::string_view devicePath) {
  std::vector<std::string> names;
  DIR* folder = opendir(hostPath(devicePath).c_str());
  if (!folder) return names;
  while (dirent* entry = readdir(folder))
    if (!isDotOrDotDot(entry->d_name)) names.emplace_back(entry->d_name);
  closedir(folder);
  return names;
}

namespace {

// Walks the folder open on fd, whose path relative to the root is in path.
// Returns false once visit has asked to stop.
bool walkFolder(int fd, std::string& path, const std::function<bool(std::string_view)>& visit) {
  DIR* folder = fdopendir(fd);
  if (!folder) {
    close(fd);
    return true;
  }
  bool goOn = true;
  const std::size_t base = path.size();
  while (goOn) {
    dirent* entry = readdir(folder);
    if (!entry) break;
    const char* name = entry->d_name;
    if (isDotOrDotDot(name)) continue;
    path.resize(base);
    if (base) path += '/';
    path += name;
    goOn = visit(path);
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isFolder = fstatat(dirfd(folder), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    if (goOn && isFolder) {
      int child = openat(dirfd(folder), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child >= 0) goOn = walkFolder(child, path, visit);
    }
  }
  path.resize(base);
  closedir(folder);
  return goOn;
}

}  // namespace

void walkTree(std::string_view root, const std::function<bool(std::string_view relativePath)>& visit) {
  int fd = open(hostPath(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  std::string path;
  walkFolder(fd, path, visit);
}

}  // namespace platform
