#include "tools/iconcount/badge_command.h"

#include <cctype>
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

std::optional<std::int32_t> badgeNumber(const char* text) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::int64_t magnitude = 0;
  constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;  // the size of INT32_MIN
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

void setBadgeCount(const char* bundleId, std::int32_t number) { sbs::setApplicationBadgeNumber(bundleId, number); }

}  // namespace iconcount
