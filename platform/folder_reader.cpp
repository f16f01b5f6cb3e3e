// What both ways of reading a folder share: turning an entry into an Entry.

#include "platform/folder_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

std::optional<FolderReader::Entry> FolderReader::entry(const char* name, unsigned char type) const {
  if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return std::nullopt;
  bool isFolder = type == DT_DIR;
  if (type == DT_UNKNOWN) {
    struct stat st;
    isFolder = fstatat(fd(), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
  }
  return Entry{name, isFolder};
}

}  // namespace platform
