#include "tools/badge/badge_command.h"

#include <cstdio>
#include <cstdlib>

#include "common/springboard_services.h"

namespace badge {

void usage(const char* programName) {
  std::printf("%s application-name (badge)\n", programName);
  std::exit(-1);
}

void badge(const char* bundleId, const char* text) { sbs::setApplicationBadge(bundleId, text); }

}  // namespace badge
