#include "platform/file_tree.h"

#include <err.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "platform/device_path.h"
#include "platform/folder_reader.h"

namespace platform {

bool fileExists(std::string_view devicePath) {
  struct stat st;
  return lstat(hostPath(devicePath).c_str(), &st) == 0;
}

std::vector<std::string> directoryContents(std::string_view devicePath) {
  std::vector<std::string> names;
  FolderReader folder(open(hostPath(devicePath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  while (auto entry = folder.next()) names.emplace_back(entry->name);
  return names;
}

namespace {

// Opens a folder entry relative to the folder open on parent: only a real
// folder, never through a link.
int openFolderAt(int parent, const char* name) {
  return openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The walk of one tree without recursion, a level per folder from the root
// down, with descriptors bounded whatever the depth. The first kOpenLevels
// levels keep their folder open and read it as they go. A deeper folder is
// read whole into memory; only the latest such folder stays open (the "deep"
// folder), and to open what another holds it is opened again, one name at a
// time from the deepest open level, never through a link.
class Walk {
 public:
  Walk(std::string_view root, const std::function<bool(std::string_view)>& visit) : root_(root), visit_(visit) {}

  void run(int rootFd) {
    push(FolderReader(rootFd), 0, 0);
    while (depth_ > 0) {
      Level& level = levels_[depth_ - 1];
      std::optional<FolderReader::Entry> entry = next(level);
      if (!entry) {
        pop();
        continue;
      }
      path_.resize(level.pathLength);
      if (!path_.empty()) path_ += '/';
      const std::size_t nameStart = path_.size();
      path_ += entry->name;
      if (!visit_(path_)) return;
      if (entry->isFolder) descend(entry->name, nameStart);
    }
  }

 private:
  // Levels this deep and shallower keep their folder open while it is read.
  static constexpr std::size_t kOpenLevels = 16;

  struct Kept {
    std::string name;
    bool isFolder;
  };
  struct Level {
    FolderReader folder;         // open while the level is read as it goes
    std::vector<Kept> kept;      // a deep level's entries, read whole
    std::size_t next = 0;        // the next of them to visit
    std::size_t pathLength = 0;  // this folder's path relative to the root
    std::size_t nameStart = 0;   // where its own name starts in that path
  };

  // The level's next entry; nothing at its end.
  std::optional<FolderReader::Entry> next(Level& level) {
    if (!level.folder.isOpen()) {
      if (level.next == level.kept.size()) return std::nullopt;
      const Kept& kept = level.kept[level.next++];
      return FolderReader::Entry{kept.name.c_str(), kept.isFolder};
    }
    std::optional<FolderReader::Entry> entry = level.folder.next();
    if (!entry && level.folder.error()) complain("cannot read", level.pathLength, level.folder.error());
    return entry;
  }

  // Opens the folder entry just visited (the last name in path_) and makes
  // it the current level. name belongs to the current level's reader or
  // entries, which push may move or read on: it is used only before.
  void descend(const char* name, std::size_t nameStart) {
    int parent = openFolderFor(depth_ - 1);
    if (parent < 0) return;
    FolderReader child(openFolderAt(parent, name));
    if (!child.isOpen()) {
      complainUnlessDenied(path_.size(), errno);
      return;
    }
    push(std::move(child), path_.size(), nameStart);
  }

  void push(FolderReader folder, std::size_t pathLength, std::size_t nameStart) {
    if (levels_.size() == depth_) levels_.emplace_back();
    Level& level = levels_[depth_++];
    level.folder = std::move(folder);
    level.kept.clear();
    level.next = 0;
    level.pathLength = pathLength;
    level.nameStart = nameStart;
    if (depth_ <= kOpenLevels) return;
    // Too deep to stay open: read it whole, and keep it open only as the deep folder.
    while (auto entry = level.folder.next()) level.kept.push_back({entry->name, entry->isFolder});
    if (level.folder.error()) complain("cannot read", pathLength, level.folder.error());
    deep_ = std::move(level.folder);
    deepLevel_ = depth_ - 1;
  }

  void pop() {
    Level& level = levels_[--depth_];
    level.folder.close();
    if (deepLevel_ == depth_) deep_.close();
  }

  // A descriptor of the folder of level index, opening it again when it is
  // no longer open; -1 when that fails (and has been reported).
  int openFolderFor(std::size_t index) {
    if (levels_[index].folder.isOpen()) return levels_[index].folder.fd();
    if (deep_.isOpen() && deepLevel_ == index) return deep_.fd();
    std::size_t anchor = kOpenLevels - 1;
    FolderReader reopened;
    int fd = levels_[anchor].folder.fd();
    for (std::size_t i = anchor + 1; i <= index; ++i) {
      const Level& level = levels_[i];
      std::string name = path_.substr(level.nameStart, level.pathLength - level.nameStart);
      reopened = FolderReader(openFolderAt(fd, name.c_str()));
      if (!reopened.isOpen()) {
        complainUnlessDenied(level.pathLength, errno);
        return -1;
      }
      fd = reopened.fd();
    }
    deep_ = std::move(reopened);
    deepLevel_ = index;
    return deep_.fd();
  }

  // A folder that cannot be opened for want of permission is skipped
  // silently, as on the device; anything else is worth a line.
  void complainUnlessDenied(std::size_t pathLength, int error) {
    if (error != EACCES) complain("cannot open", pathLength, error);
  }

  void complain(const char* what, std::size_t pathLength, int error) {
    std::string devicePath(root_);
    if (pathLength > 0) {
      if (devicePath.empty() || devicePath.back() != '/') devicePath += '/';
      devicePath.append(path_, 0, pathLength);
    }
    warnx("%s %s: %s", what, devicePath.c_str(), std::strerror(error));
  }

  std::string_view root_;
  const std::function<bool(std::string_view)>& visit_;
  std::vector<Level> levels_;
  std::size_t depth_ = 0;
  std::string path_;  // the entry being visited, relative to the root
  FolderReader deep_;
  std::size_t deepLevel_ = 0;
};

}  // namespace

void walkTree(std::string_view root, const std::function<bool(std::string_view relativePath)>& visit) {
  // The root may be reached through a link (/var is one on the device).
  int fd = open(hostPath(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    // A missing or unreadable root is an empty tree.
    if (errno != ENOENT && errno != ENOTDIR && errno != EACCES)
      warnx("cannot open %.*s: %s", static_cast<int>(root.size()), root.data(), std::strerror(errno));
    return;
  }
  Walk(root, visit).run(fd);
}

}  // namespace platform
