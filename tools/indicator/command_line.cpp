#include "tools/indicator/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace indicator {

CommandLine parseCommandLine(int argc, char* argv[]) {
  CommandLine line;
  opterr = 0;
  for (int option; (option = getopt(argc, argv, "+ls:r:t:b:")) != -1;) {
    switch (option) {
      case 's': line.steps.push_back({Action::show, optarg}); break;
      case 'r': line.steps.push_back({Action::remove, optarg}); break;
      case 't': line.steps.push_back({Action::showBriefly, optarg}); break;
      case 'l': line.ending = Ending::listing; return line;
      default: line.ending = Ending::stopped; return line;  // -b takes a value and does nothing else
    }
  }
  return line;
}

void usage(const char* programName) {
  std::printf("%s [options]\n", programName);
  std::puts("-l          List the available status bar icons and exit");
  std::puts("-s icon     Set a status bar icon");
  std::puts("-r icon     Remove a status bar icon");
  std::puts("-t icon     Check icon for 3 seconds, then remove");
  std::exit(0);
}

}  // namespace indicator
