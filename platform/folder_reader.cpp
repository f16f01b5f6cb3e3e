// What both ways of reading a folder share: turning an entry into a record.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/folder_reader.h"

namespace platform {

void FolderReader::append(std::string& records, const char* name, unsigned char type) const {
  if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return;
  bool isFolder = type == DT_DIR;
  if (type == DT_UNKNOWN) {
    struct stat st;
    isFolder = fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
  }
  records += isFolder ? kFolder : kOther;
  records.append(name, std::strlen(name) + 1);
}

}  // namespace platform
