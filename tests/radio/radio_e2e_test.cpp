// radio as a user runs it, against a fresh copy of the sample device.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/plist/plist.h"
#include "tests/support/clean_exit.h"
#include "tests/support/device.h"
#include "tests/support/visible_state.h"

namespace fs = std::filesystem;
using platform::plist::Value;

namespace {

const std::string kScan = "/private/var/sim/wifi-scan.plist";
const std::vector<std::string> kScanRead{"SBSSpringBoardServerPort", "SBGetLastWiFiScanDictionary"};

std::vector<std::string> switched(const char* mode) {
  return {"SBSSpringBoardServerPort", std::string("SBSetAirplaneModeEnabled\t") + mode};
}

class RadioTest : public ::testing::Test {
 protected:
  e2e::Result radio(std::vector<std::string> arguments) {
    return e2e::runProgram(device, "radio", std::move(arguments));
  }
  std::string usageLine() const { return "Usage: " + e2e::program("radio") + " (y | n)\n"; }
  std::optional<Value> airplaneMode() { return e2e::visibleState(device, "airplaneMode"); }
  void expectSwitched(const std::vector<std::string>& arguments, bool on) {
    device.clearJournal();
    auto r = radio(arguments);
    std::string shown = arguments.empty() ? "" : "\"" + arguments[0] + "\"";
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(r.err, "") << shown;
    ASSERT_TRUE(e2e::exitedWith(r, 0)) << shown;
    EXPECT_EQ(device.journal(), switched(on ? "1" : "0")) << shown;
    EXPECT_EQ(airplaneMode(), Value(on)) << shown;
  }

  e2e::TemporaryDevice device;
};

TEST_F(RadioTest, AnArgumentBeginningWithYOfEitherCaseSwitchesAirplaneModeOn) {
  for (std::string on : {"y", "Y", "yes", "YES", "yellow"}) {
    ASSERT_EQ(radio({"n"}).status, 0);
    expectSwitched({on}, true);
  }
  expectSwitched({"y", "n", "further", "arguments"}, true);
}

TEST_F(RadioTest, AnyOtherArgumentSwitchesItOff) {
  for (std::string off : {"n", "N", "no", "off", "0", "1", "", " y", "on"}) {
    ASSERT_EQ(radio({"y"}).status, 0);
    expectSwitched({off}, false);
  }
  expectSwitched({"n", "y"}, false);
}

TEST_F(RadioTest, WithoutArgumentTheScanIsPrintedThenTheUsageAndNothingIsSwitched) {
  platform::plist::Dictionary network, scan;
  network.set("SSID_STR", Value("Caf\xc3\xa9 Wi-Fi"));
  network.set("RSSI", Value(-48));
  network.set("WEP", Value(true));
  scan.set("Networks", Value(platform::plist::Array{Value(network)}));
  { std::ofstream(device.host(kScan), std::ios::trunc) << platform::plist::toXml(Value(scan)); }

  auto r = radio({});
  EXPECT_EQ(r.out, usageLine());
  EXPECT_EQ(r.err,
            "{\n    Networks = (\n        {\n            RSSI = -48;\n            SSID_STR = \"Caf\\u00e9 Wi-Fi\";\n"
            "            WEP = 1;\n        }\n    );\n}\n");
  ASSERT_TRUE(e2e::exitedWith(r, 255));
  EXPECT_EQ(device.journal(), kScanRead);
  EXPECT_FALSE(airplaneMode()) << "airplane mode is not touched";
}

TEST_F(RadioTest, TheSampleScanComesBeforeTheUsageLine) {
  auto sample = platform::plist::parse(e2e::fileBytes(device.host(kScan)));
  ASSERT_TRUE(sample && sample->is<platform::plist::Dictionary>());

  // Both streams into one, to see their order.
  auto r = e2e::run(device, e2e::throughShell("exec \"$@\" 2>&1", {e2e::program("radio")}));
  EXPECT_EQ(r.out, platform::plist::description(*sample) + "\n" + usageLine());
  EXPECT_EQ(r.status, 255);
  EXPECT_NE(r.out.find("SSID_STR = \"Cafe Corner Guest\";"), std::string::npos);
}

TEST_F(RadioTest, WithoutAScanHeldTheScanPrintsAsNull) {
  fs::remove(device.host(kScan));
  auto r = radio({});
  EXPECT_EQ(r.out, usageLine());
  EXPECT_EQ(r.err, "(null)\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(device.journal(), kScanRead);
}

}  // namespace
