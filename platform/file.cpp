// Files: read without ever blocking, written atomically and durably.

#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/device_path.h"
#include "platform/folder_reader.h"
#include "platform/text.h"

namespace platform {

std::optional<std::string> readRegularFile(const std::filesystem::path& file, std::size_t maxBytes, std::string* why) {
  auto refuse = [&](std::string reason) -> std::optional<std::string> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  // Not blocking: a FIFO at the path would otherwise wait for a writer.
  int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return refuse(std::strerror(errno));
  auto tooLarge = [&] { return "larger than " + sizeText(maxBytes); };
  struct stat st {};
  std::string bytes;
  std::optional<std::string> problem;
  if (fstat(fd, &st) != 0) problem = "cannot be examined";
  else if (!S_ISREG(st.st_mode)) problem = "not a regular file";
  else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) problem = tooLarge();
  // Read up to one buffer beyond the cap: a file that grows meanwhile is
  // still refused rather than read without end.
  for (char buffer[65536]; !problem;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) problem = "cannot be read";
    else if (n == 0) break;
    else if (bytes.append(buffer, static_cast<std::size_t>(n)).size() > maxBytes) problem = tooLarge();
  }
  ::close(fd);
  if (problem) return refuse(std::move(*problem));
  return bytes;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

WriteResult writeAtomically(const std::filesystem::path& file, std::string_view bytes, std::optional<Owner> owner) {
  std::string target = file.string();
  std::filesystem::path folderPath = file.parent_path().empty() ? "." : file.parent_path();
  // The folder is flushed after the rename, so that the new name is on the
  // disk too; it is opened first, so that a folder that cannot be flushed
  // fails the write before anything is replaced.
  int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return WriteResult::failed;
  // The first step that fails says why, whatever the clean-up does to errno.
  int error = 0;
  auto done = [&error](bool ok) {
    if (!ok && !error) error = errno;
    return ok;
  };
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (!done(fd >= 0)) {
    ::close(folder);
    errno = error;
    return WriteResult::failed;
  }
  // The replaced file's mode, so a private file stays private; a new file's
  // from the umask. A link at the path is replaced, so its target's mode does
  // not count.
  struct stat old {};
  mode_t mode;
  if (lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = done(fchmod(fd, mode) == 0) && done(writeAll(fd, bytes));
  // The owner goes on the new file, never on the path afterwards: a link
  // swapped in at the path in between would hand that link's target over.
  bool owned = !owner || fchown(fd, owner->user, owner->group) == 0;
  // Giving a file away clears its set-id bits: set the mode again.
  if (owner && owned) ok = done(fchmod(fd, mode) == 0) && ok;
  ok = done(fsync(fd) == 0) && ok;
  ok = done(::close(fd) == 0) && ok;
  if (ok) ok = done(std::rename(temporary.c_str(), target.c_str()) == 0);
  if (!ok) unlink(temporary.c_str());
  // Without the folder on the disk the rename may be undone by a power loss:
  // a write that cannot promise its new name is not reported done.
  else ok = done(fsync(folder) == 0);
  ::close(folder);
  if (!ok) {
    errno = error;
    return WriteResult::failed;
  }
  return owned ? WriteResult::written : WriteResult::writtenWithoutOwner;
}

std::optional<FileLock> FileLock::acquire(std::string_view devicePath) {
  std::filesystem::path lockFile = hostPath(devicePath);
  lockFile += ".lock";
  for (;;) {
    // Read only: a lock needs no more, and a file that a killed run of
    // another user left is then locked all the same.
    int fd = ::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return std::nullopt;
    int locked;
    while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {}
    // The holder before may have removed the file while this run waited for
    // it: the lock counts only on the file that is at the path now.
    struct stat held {
    }, now{};
    if (locked == 0 && fstat(fd, &held) == 0 && ::stat(lockFile.c_str(), &now) == 0 && held.st_ino == now.st_ino &&
        held.st_dev == now.st_dev)
      return FileLock(fd, std::move(lockFile));
    int error = errno;
    ::close(fd);
    if (locked != 0) {
      errno = error;
      return std::nullopt;
    }
  }
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_), lockFile_(std::move(other.lockFile_)) {
  other.fd_ = -1;
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  // Removed while still held, so that whoever waits on it tries again.
  unlink(lockFile_.c_str());
  ::close(fd_);
}

void removeLeftoverTemporaries(std::string_view devicePath) {
  std::filesystem::path target = hostPath(devicePath);
  std::string prefix = target.filename().string() + ".";
  FolderReader folder(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // mkstemp's names: the target's name, a dot and six letters or digits.
  auto isTemporary = [&](std::string_view name) {
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
    for (char c : name.substr(prefix.size()))
      if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
  };
  while (auto entry = folder.next()) {
    struct stat st {};
    if (isTemporary(entry->name) && fstatat(folder.fd(), entry->name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode))
      unlinkat(folder.fd(), entry->name, 0);
  }
}

}  // namespace platform
