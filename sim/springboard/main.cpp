// SpringBoard's stand-in: loads the extensions as the substrate does when
// SpringBoard starts, makes SpringBoard's objects, and runs commands that
// send SpringBoard's methods as the device would.

#include <getopt.h>
#include <objc/runtime.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "loader.h"
#include "new_root.h"
#include "platform/device_path.h"
#include "sim/common/clock.h"
#include "springboard.h"
#include "uncaught_exceptions.h"

namespace {

constexpr int kUsageStatus = 2;

const char* const kUsage =
    "usage: %s [--no-extensions] [-c 'command; command...']\n"
    "       %s --new-root DIR\n"
    "\n"
    "Runs the simulated SpringBoard against the device root: $SBKIT_ROOT, or else\n"
    "the device folder of the build tree. At start it loads the icon state and the\n"
    "extensions installed in /Library/MobileSubstrate/DynamicLibraries/ for\n"
    "com.apple.springboard, then runs the commands of -c, separated by ';', or\n"
    "else one per line of standard input.\n"
    "\n"
    "  --no-extensions       load no extension\n"
    "  --new-root DIR        make DIR, missing or empty, a fresh sample device and exit\n"
    "  -c COMMANDS           run these commands instead of reading standard input\n"
    "  --help                print this text\n"
    "\n"
    "commands:\n"
    "  icon-state            print the icon model's state\n"
    "  delete-icon-state     send deleteIconState to the icon model\n"
    "  note-icon-state-changed\n"
    "                        send noteIconStateChangedExternally to the icon model,\n"
    "                        which reloads the icon state file\n"
    "  edit on, edit off     send setIsEditing: YES / NO to the icon controller\n"
    "  scroll decelerating   make the icon scroll view answer isDecelerating YES\n"
    "  scroll rest           make it answer NO\n"
    "  scroll end            send scrollViewDidEndDecelerating: with the icon scroll view\n"
    "  scroll end other      send it with another scroll view\n"
    "  status                print edit mode, the scroll view, badges, status-bar items,\n"
    "                        airplane mode, the lock, the front application and the page\n"
    "  extensions            print each library of the extensions folder, in load order,\n"
    "                        and what became of it\n"
    "  mark TEXT             journal mark with TEXT, to cut the journal into steps\n"
    "  home                  press the home button\n"
    "  lock, unlock          lock the device, or unlock it\n"
    "  launch ID             make the application ID the front one\n"
    "  page N                show page N of the icons\n"
    "  screenshot FILE.png [PAGE]\n"
    "                        draw what the screen shows, with page PAGE of the icons\n"
    "                        (the current one by default), as a 640x960 PNG (320x480\n"
    "                        points at twice the size); FILE is a path of this machine\n"
    "\n"
    "SBKIT_CLOCK=2009-06-17T09:41:00 (a local time) stops the device's clock there.\n"
    "\n"
    "An unknown or failed command is reported on standard error and skipped.\n"
    "Exit status: 0 when every command was known and worked, 1 when one or more\n"
    "were not, 2 for bad usage, 70 for an exception no code caught.\n";

[[noreturn]] void usage(const char* program, std::FILE* out, int status) {
  std::fprintf(out, kUsage, program, program);
  std::exit(status);
}

// Runs each ';'-separated command of a -c argument.
bool runCommandList(springboard::SpringBoard& springBoard, std::string_view commands) {
  bool allKnown = true;
  for (std::size_t start = 0; start <= commands.size();) {
    std::size_t end = commands.find(';', start);
    if (end == std::string_view::npos) end = commands.size();
    allKnown &= springBoard.run(commands.substr(start, end - start), stdout);
    std::fflush(stdout);
    start = end + 1;
  }
  return allKnown;
}

// Runs standard input line by line, answering each line before reading the next.
bool runCommandLines(springboard::SpringBoard& springBoard) {
  bool allKnown = true;
  for (std::string line; std::getline(std::cin, line);) {
    allKnown &= springBoard.run(line, stdout);
    std::fflush(stdout);
  }
  return allKnown;
}

// SpringBoard as extensions' filters see it: iPhone OS 3.1's.
substrate::Process springBoardProcess() {
  return {{"com.apple.springboard", "com.apple.UIKit", "com.apple.Foundation", "com.apple.GraphicsServices",
           "com.apple.SpringBoardServices"},
          "SpringBoard",
          478.52,
          [](const std::string& name) { return objc_getClass(name.c_str()) != Nil; }};
}

std::vector<substrate::Extension> notLoaded(const std::string& why) {
  std::vector<substrate::Extension> extensions;
  for (std::string& name : substrate::extensionNames()) extensions.push_back({std::move(name), "not loaded: " + why});
  return extensions;
}

}  // namespace

int main(int argc, char* argv[]) {
  static const option kLongOptions[] = {{"no-extensions", no_argument, nullptr, 'n'},
                                        {"new-root", required_argument, nullptr, 'r'},
                                        {"help", no_argument, nullptr, 'h'},
                                        {nullptr, 0, nullptr, 0}};
  bool extensions = true;
  const char* commands = nullptr;
  const char* newRoot = nullptr;
  opterr = 0;
  for (int option; (option = getopt_long(argc, argv, "+c:", kLongOptions, nullptr)) != -1;) {
    switch (option) {
      case 'c': commands = optarg; break;
      case 'n': extensions = false; break;
      case 'r': newRoot = optarg; break;
      case 'h': usage(argv[0], stdout, 0);
      default:
        std::fprintf(stderr, "%s: bad option %s\n", argv[0], argv[optind - 1]);
        usage(argv[0], stderr, kUsageStatus);
    }
  }
  if (optind != argc) {
    std::fprintf(stderr, "%s: unexpected argument %s\n", argv[0], argv[optind]);
    usage(argv[0], stderr, kUsageStatus);
  }
  // A clock the run cannot show is refused before anything runs or journals.
  if (std::string problem; !sim::clockSettingIsValid(problem)) {
    std::fprintf(stderr, "springboard: %s\n", problem.c_str());
    return 1;
  }

  if (newRoot) return springboard::makeNewRoot(newRoot) ? 0 : 1;

  // Extensions, and what they start, take the device root SpringBoard runs in.
  setenv("SBKIT_ROOT", platform::deviceRoot().c_str(), 1);
  springboard::reportUncaughtExceptions();
  springboard::SpringBoard springBoard(extensions ? substrate::loadExtensions(springBoardProcess(), "springboard")
                                                  : notLoaded("--no-extensions"));
  bool allKnown = commands ? runCommandList(springBoard, commands) : runCommandLines(springBoard);
  return allKnown ? 0 : 1;
}
