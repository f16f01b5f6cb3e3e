#include "tools/iconcount/badge_command.h"

#include <cstdio>
#include <cstdlib>

#include "common/springboard_services.h"

namespace iconcount {

void usage(const char* programName) {
  std::printf("%s application-name (badge-number)\n", programName);
  std::printf("or\n%s id application-id (badge-number)\n", programName);
  std::printf("or\n%s list\n", programName);
  std::exit(-1);
}

void setBadgeCount(const char* bundleId, std::int32_t number) { sbs::setApplicationBadgeNumber(bundleId, number); }

}  // namespace iconcount
