// Folder entries with readdir, for systems without getdents64.

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/folder_reader.h"

namespace platform {
namespace {

// Entries taken per call, so that a batch stays small in a large folder.
constexpr int kBatchEntries = 256;

}  // namespace

FolderReader::FolderReader(int fd) : fd_(fd) {
  if (fd < 0) return;
  stream_ = fdopendir(fd);
  if (!stream_) {
    error_ = errno;
    ::close(fd);
    fd_ = -1;
  }
}
FolderReader::~FolderReader() { close(); }
FolderReader::FolderReader(FolderReader&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)), fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}
FolderReader& FolderReader::operator=(FolderReader&& other) noexcept {
  if (this != &other) {
    close();
    stream_ = std::exchange(other.stream_, nullptr);
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
  }
  return *this;
}

bool FolderReader::isOpen() const { return stream_ != nullptr; }
int FolderReader::fd() const { return fd_; }

void FolderReader::close() {
  if (stream_) closedir(static_cast<DIR*>(stream_));  // closes fd_ too
  stream_ = nullptr;
  fd_ = -1;
}

bool FolderReader::readMore(std::string& records) {
  if (!stream_) return false;
  DIR* folder = static_cast<DIR*>(stream_);
  const std::size_t before = records.size();
  for (int taken = 0; taken < kBatchEntries; ++taken) {
    errno = 0;
    dirent* entry = readdir(folder);
    if (!entry) {
      error_ = errno;
      break;
    }
    append(records, entry->d_name, entry->d_type);
  }
  return records.size() != before;
}

}  // namespace platform
