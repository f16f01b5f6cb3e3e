#include "tools/indicator/status_bar.h"

#include "common/springboard_services.h"

namespace indicator {

void indicator(const char* name) { sbs::addStatusBarItem(name); }

void rbar(const char* name) { sbs::removeStatusBarItem(name); }

}  // namespace indicator
