// radio: switches airplane mode on ("y") or off (anything else); without an
// argument it prints the last Wi-Fi scan and its usage line instead.

#include <cstdio>
#include <cstdlib>

#include "tools/radio/command_line.h"
#include "tools/radio/springboard.h"

using namespace radio;

namespace {

constexpr int kUsageStatus = 255;

[[noreturn]] void usage(const char* programName) {
  std::printf("Usage: %s (y | n)\n", programName);
  std::exit(kUsageStatus);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc <= 1) {
    printLastWiFiScan();  // on standard error, before the usage line
    usage(argv[0]);
  }
  setAirplaneMode(airplaneMode(argv[1]));
  return 0;
}
