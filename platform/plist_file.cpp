// Property-list files: read without ever blocking, written atomically.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/device_path.h"
#include "platform/plist.h"
#include "platform/plist_file.h"
#include "platform/plist_node.h"

namespace platform::plist {

static_assert(kMaxFileSize == 8 * 1024 * 1024, "the messages below name the cap");

std::optional<std::string> readFileBytes(const std::string& hostPath, std::string* why) {
  auto refuse = [&](std::string reason) -> std::optional<std::string> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  // Not blocking: a FIFO at the path would otherwise wait for a writer.
  int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(std::strerror(errno));
  struct stat st {};
  std::string bytes;
  const char* problem = nullptr;
  if (fstat(fd, &st) != 0) problem = "cannot be examined";
  else if (!S_ISREG(st.st_mode)) problem = "not a regular file";
  else if (static_cast<std::uintmax_t>(st.st_size) > kMaxFileSize) problem = "larger than 8 MiB";
  // Read up to one byte beyond the cap: a file that grows meanwhile is still
  // refused rather than read without end.
  for (char buffer[65536]; !problem;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) problem = "cannot be read";
    else if (n == 0) break;
    else if (bytes.append(buffer, static_cast<std::size_t>(n)).size() > kMaxFileSize) problem = "larger than 8 MiB";
  }
  ::close(fd);
  if (problem) return refuse(problem);
  return bytes;
}

std::optional<Value> read(std::string_view devicePath, std::string* why) {
  auto bytes = readFileBytes(hostPath(devicePath).string(), why);
  if (!bytes) return std::nullopt;
  return parse(*bytes, why);
}

std::optional<Dictionary> readDictionary(std::string_view devicePath, std::string* why) {
  auto value = read(devicePath, why);
  if (value && !value->is<Dictionary>() && why) *why = "not a dictionary";
  if (!value || !value->is<Dictionary>()) return std::nullopt;
  return std::move(*value->get<Dictionary>());
}

WriteResult writeBytes(std::string_view devicePath, std::string_view bytes, std::optional<Owner> owner) {
  std::string target = hostPath(devicePath).string();
  std::string temporary = target + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return WriteResult::failed;
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
  bool ok = fchmod(fd, mode) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  // The owner goes on the new file, never on the path afterwards: a link
  // swapped in at the path in between would hand that link's target over.
  bool owned = !owner || fchown(fd, owner->user, owner->group) == 0;
  // Giving a file away clears its set-id bits: set the mode again.
  if (owner && owned) ok = fchmod(fd, mode) == 0 && ok;
  ok = (fsync(fd) == 0) && ok;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return WriteResult::failed;
  }
  return owned ? WriteResult::written : WriteResult::writtenWithoutOwner;
}

WriteResult write(std::string_view devicePath, const Value& value, std::optional<Owner> owner) {
  if (whyUnwritable(value)) return WriteResult::failed;
  return writeBytes(devicePath, toXml(value), owner);
}

std::optional<FolderLock> FolderLock::acquire(std::string_view devicePath) {
  std::filesystem::path folder = hostPath(devicePath).parent_path();
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return std::nullopt;
    }
  }
  return FolderLock(fd);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

void removeLeftoverTemporaries(std::string_view devicePath) {
  std::filesystem::path target = hostPath(devicePath);
  std::string prefix = target.filename().string() + ".";
  DIR* folder = opendir(target.parent_path().c_str());
  if (!folder) return;
  // mkstemp's names: the target's name, a dot and six letters or digits.
  auto isTemporary = [&](std::string_view name) {
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
    for (char c : name.substr(prefix.size()))
      if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
  };
  while (dirent* entry = readdir(folder)) {
    struct stat st {};
    if (isTemporary(entry->d_name) && fstatat(dirfd(folder), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode))
      unlinkat(dirfd(folder), entry->d_name, 0);
  }
  closedir(folder);
}

}  // namespace platform::plist
