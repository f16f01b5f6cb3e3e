#pragma once

// The two things radio asks SpringBoard; each call fetches its own server port.

namespace radio {

// Prints the last Wi-Fi scan SpringBoard holds through the platform's object
// printer, on standard error.
void printLastWiFiScan();
// Switches airplane mode on for 1 and off for 0.
void setAirplaneMode(signed char mode);

}  // namespace radio
