#pragma once

// Files as the kit reads and replaces them: read whole without ever blocking
// and within a cap, written atomically, and locked against other writers.
// readRegularFile and writeAtomically take a file as the system names it (a
// device path on the device; here one that hostPath made, or a file of the
// host's own in the simulation); the lock and the clean-up take device paths.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The whole file, when it is a regular file of at most maxBytes bytes;
// otherwise nothing, with the reason in *why ("No such file or directory",
// "not a regular file", "larger than 8 MiB"). A FIFO or a device at the path
// is never waited on.
std::optional<std::string> readRegularFile(const std::filesystem::path& file, std::size_t maxBytes,
                                           std::string* why);

struct Owner {
  uid_t user;
  gid_t group;
};
enum class WriteResult {
  written,
  // Written and in place, but the new file could not be given its owner.
  writtenWithoutOwner,
  // Nothing replaced: the old file, if any, is untouched, and errno says why.
  failed,
};
// Replaces the file with the bytes atomically: a new file in the same folder,
// given its owner when one is named and the mode of the file it replaces (a
// new file's mode comes from the umask), flushed, renamed over the old one,
// and the folder flushed too, so that no one ever sees a half-written or
// wrongly owned file and a write reported done survives a power loss.
WriteResult writeAtomically(const std::filesystem::path& file, std::string_view bytes,
                            std::optional<Owner> owner = {});

// An exclusive lock on the file at a device path, held while the object
// lives: writers of the file who all take it see the file as the last of them
// left it. It is the lock file beside it, "<name>.lock", rather than the file
// itself, because every write renames a new file over the old one and a lock
// on the old one would go with it; the last holder removes the lock file.
class FileLock {
 public:
  // Waits for the lock; nothing, with errno saying why, when the lock file
  // cannot be made or locked (a folder in its place, a folder that cannot be
  // written).
  static std::optional<FileLock> acquire(std::string_view devicePath);
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&&) = delete;
  ~FileLock();

 private:
  FileLock(int fd, std::filesystem::path lockFile) : fd_(fd), lockFile_(std::move(lockFile)) {}
  int fd_;
  std::filesystem::path lockFile_;
};

// Removes the temporary files that writes of this device path left behind
// when they were killed before their rename. Call it only under the lock that
// every writer of the path holds: otherwise another writer's file in progress
// would go too.
void removeLeftoverTemporaries(std::string_view devicePath);

}  // namespace platform
