// Folder entries with getdents64: each batch costs one system call, and the
// names are taken straight from the kernel's records.

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

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

struct FolderReader::Stream {
  int fd;
  long length = 0, at = 0;  // of the batch, and the next record in it
  bool ended = false;
  alignas(KernelEntry) char batch[kBatchBytes];
};

void FolderReader::Closer::operator()(Stream* stream) const {
  ::close(stream->fd);
  delete stream;
}

FolderReader::FolderReader(int fd) {
  if (fd < 0) return;
  stream_.reset(new Stream);  // the batch is left as it is: the reads fill it
  stream_->fd = fd;
}

int FolderReader::fd() const { return stream_ ? stream_->fd : -1; }

std::optional<FolderReader::Entry> FolderReader::next() {
  while (stream_ && !stream_->ended) {
    Stream& s = *stream_;
    if (s.at == s.length) {
      s.length = syscall(SYS_getdents64, s.fd, s.batch, sizeof s.batch);
      s.at = 0;
      if (s.length <= 0) {
        error_ = s.length < 0 ? errno : 0;
        s.ended = true;
        break;
      }
    }
    const auto* record = reinterpret_cast<const KernelEntry*>(s.batch + s.at);
    s.at += record->length;
    if (auto named = entry(record->name, record->type)) return named;
  }
  return std::nullopt;
}

}  // namespace platform
