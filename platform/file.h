#pragma once

// Files read whole without ever blocking and within a cap, written
// atomically, and locked against other writers. The reads and writes take a
// file as the system names it (here one hostPath made); the lock and the
// clean-up take device paths.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The whole file when it is a regular one of at most maxBytes, never waiting
// on a FIFO or a device; else nothing, with the reason in *why ("No such file
// or directory", "not a regular file", "larger than 8 MiB").
std::optional<std::string> readRegularFile(const std::filesystem::path& file, std::size_t maxBytes, std::string* why);

struct Owner {
  uid_t user;
  gid_t group;
};
enum class WriteResult {
  written,
  writtenWithoutOwner,  // in place, but the new file could not be given its owner
  failed,               // nothing replaced, and errno says why
};
// Replaces the file with the bytes atomically: a new file in the same folder,
// given the owner named and the replaced file's mode (or the umask's),
// flushed, renamed over the old one, and the folder flushed, so no one sees a
// half-written or wrongly owned file and a write reported done survives a
// power loss.
WriteResult writeAtomically(const std::filesystem::path& file, std::string_view bytes, std::optional<Owner> owner = {});

// An exclusive lock on the file at a device path while the object lives, so
// writers who all take it see the file as the last one left it. It locks
// "<name>.lock" beside the file, since each write renames a new file over the
// old one; the last holder removes it.
class FileLock {
 public:
  // Waits for the lock; nothing, with errno saying why, when the lock file
  // cannot be made or locked (a folder in its place, or in a read-only folder).
  static std::optional<FileLock> acquire(std::string_view devicePath);
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&&) = delete;
  ~FileLock();

 private:
  FileLock(int fd, std::filesystem::path lockFile) : fd_(fd), lockFile_(std::move(lockFile)) {}
  int fd_;
  std::filesystem::path lockFile_;
};

// Removes the temporary files of writes of this device path killed before
// their rename. Only under the writers' lock: another's file in progress would
// go too.
void removeLeftoverTemporaries(std::string_view devicePath);

}  // namespace platform
