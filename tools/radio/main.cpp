// radio: switches airplane mode on ("y") or off (anything else); without an
// argument it prints the last Wi-Fi scan and its usage line instead.

#include "tools/radio/command_line.h"
#include "tools/radio/helper.h"

using namespace radio;

int main(int argc, char* argv[]) {
  if (argc <= 1) {
    Helper::getWiFiDict();  // on standard error, before the usage line
    usage(argv[0]);         // exits with 255
  }
  Helper::setRadio(airplaneMode(argv[1]));
  return 0;
}
