// Folder entries with getdents64: each batch costs one system call, and the
// names are taken straight from the kernel's records.

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/folder_reader.h"

namespace platform {
namespace {

// The kernel's record (linux/dirent.h), which glibc does not declare.
struct KernelEntry {
  std::uint64_t inode;
  std::int64_t offset;
  unsigned short length;
  unsigned char type;
  char name[];
};

// As glibc's readdir reads: 32 KiB a call.
constexpr std::size_t kBatchBytes = 32 * 1024;

}  // namespace

FolderReader::FolderReader(int fd) : fd_(fd) {}
FolderReader::~FolderReader() { close(); }
FolderReader::FolderReader(FolderReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}
FolderReader& FolderReader::operator=(FolderReader&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
  }
  return *this;
}

bool FolderReader::isOpen() const { return fd_ >= 0; }
int FolderReader::fd() const { return fd_; }

void FolderReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool FolderReader::readMore(std::string& records) {
  alignas(KernelEntry) char batch[kBatchBytes];
  const std::size_t before = records.size();
  while (records.size() == before) {  // a batch may hold only "." and ".."
    long length = syscall(SYS_getdents64, fd_, batch, sizeof batch);
    if (length <= 0) {
      error_ = length < 0 ? errno : 0;
      return false;
    }
    for (long at = 0; at < length;) {
      const auto* entry = reinterpret_cast<const KernelEntry*>(batch + at);
      at += entry->length;
      append(records, entry->name, entry->type);
    }
  }
  return true;
}

}  // namespace platform
