#include "sim/common/springboard_state.h"

#include <cstdio>
#include <filesystem>

#include "platform/device_path.h"
#include "platform/file.h"

namespace sim {

using platform::plist::Dictionary;

Dictionary readSpringBoardState() { return platform::plist::readDictionary(kStatePath).value_or(Dictionary{}); }

void updateSpringBoardState(const std::function<void(Dictionary&)>& change) {
  std::filesystem::path host = platform::hostPath(kStatePath);
  std::error_code ignored;
  std::filesystem::create_directories(host.parent_path(), ignored);
  // The lock keeps read-change-write of two processes apart; a stand-in that
  // cannot take it still answers its call.
  std::optional<platform::FileLock> lock = platform::FileLock::acquire(kStatePath);
  Dictionary state = readSpringBoardState();
  change(state);
  if (platform::plist::write(kStatePath, state) != platform::WriteResult::written)
    std::fprintf(stderr, "springboard: cannot write %s\n", kStatePath);
}

}  // namespace sim
