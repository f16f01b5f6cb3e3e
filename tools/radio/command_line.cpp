#include "tools/radio/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace radio {
namespace {

// Upper-cases the ASCII letters; other bytes stay as they are, since no
// character outside ASCII upper-cases to a "Y".
std::string upperCased(const char* text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

}  // namespace

signed char airplaneMode(const char* argument) { return upperCased(argument).starts_with("Y") ? 1 : 0; }

void usage(const char* programName) {
  std::printf("Usage: %s (y | n)\n", programName);
  std::exit(-1);
}

}  // namespace radio
