#include "tools/indicator/command_line.h"

#include <unistd.h>

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

}  // namespace indicator
