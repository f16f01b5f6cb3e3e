#include "sim/common/springboard_state.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/device_path.h"

namespace sim {

using platform::plist::Dictionary;

Dictionary readSpringBoardState() { return platform::plist::readDictionary(kStatePath).value_or(Dictionary{}); }

void updateSpringBoardState(const std::function<void(Dictionary&)>& change) {
  std::filesystem::path host = platform::hostPath(kStatePath);
  std::error_code ignored;
  std::filesystem::create_directories(host.parent_path(), ignored);
  // A lock beside the state keeps read-change-write of two processes apart.
  std::string lockPath = host.string() + ".lock";
  int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock >= 0) flock(lock, LOCK_EX);
  Dictionary state = readSpringBoardState();
  change(state);
  if (platform::plist::write(kStatePath, state) != platform::WriteResult::written)
    std::fprintf(stderr, "springboard: cannot write %s\n", kStatePath);
  if (lock >= 0) close(lock);
}

}  // namespace sim
