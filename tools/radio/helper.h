#pragma once

// The two things radio asks SpringBoard, grouped as one helper class with no
// state: each call fetches its own server port.

namespace radio {

class Helper {
 public:
  Helper() = delete;

  // Prints the last Wi-Fi scan SpringBoard holds through the platform's object
  // printer, on standard error.
  static void getWiFiDict();
  // Switches airplane mode on for 1 and off for 0.
  static void setRadio(signed char mode);
};

}  // namespace radio
