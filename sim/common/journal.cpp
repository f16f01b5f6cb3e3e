#include "sim/common/journal.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/device_path.h"
#include "platform/text.h"

namespace sim {

void journal(std::string_view call, std::initializer_list<std::string_view> arguments) {
  timeval now{};
  gettimeofday(&now, nullptr);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%lld.%03d", static_cast<long long>(now.tv_sec),
                static_cast<int>(now.tv_usec / 1000));
  std::string line = stamp;
  line += '\t';
  line += call;
  for (std::string_view argument : arguments) {
    line += '\t';
    line += platform::escapeControlBytes(argument, platform::ControlEscapes::field);
  }
  line += '\n';

  std::filesystem::path path = platform::hostPath("/private/var/sim/journal");
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  // One append of the whole line, so lines from several processes never mix.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "journal: cannot open /private/var/sim/journal\n");
    return;
  }
  if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
    std::fprintf(stderr, "journal: cannot append to /private/var/sim/journal\n");
  close(fd);
}

}  // namespace sim
