// Folder entries with readdir, for systems without getdents64.

#include <dirent.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder_reader.h"

namespace platform {

struct FolderReader::Stream {
  DIR* folder;
  // readdir asks the system again at every call after the end.
  bool ended = false;
};

void FolderReader::Closer::operator()(Stream* stream) const {
  closedir(stream->folder);  // closes its descriptor too
  delete stream;
}

FolderReader::FolderReader(int fd) {
  if (fd < 0) return;
  DIR* folder = fdopendir(fd);
  if (!folder) {
    error_ = errno;
    ::close(fd);
    return;
  }
  stream_.reset(new Stream{folder});
}

int FolderReader::fd() const { return stream_ ? dirfd(stream_->folder) : -1; }

std::optional<FolderReader::Entry> FolderReader::next() {
  while (stream_ && !stream_->ended) {
    errno = 0;
    const dirent* found = readdir(stream_->folder);
    if (!found) {
      error_ = errno;
      stream_->ended = true;
    } else if (auto named = entry(found->d_name, found->d_type)) {
      return named;
    }
  }
  return std::nullopt;
}

}  // namespace platform
