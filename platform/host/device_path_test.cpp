#include "platform/device_path.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace {

class DevicePathTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SBKIT_ROOT", "/tmp/some-root", 1); }
  void TearDown() override { unsetenv("SBKIT_ROOT"); }
};

TEST_F(DevicePathTest, MapsDevicePathsUnderTheRoot) {
  EXPECT_EQ(platform::hostPath("/private/var/sim/journal"), "/tmp/some-root/private/var/sim/journal");
  EXPECT_EQ(platform::hostPath("/var/mobile/Applications/"), "/tmp/some-root/var/mobile/Applications/");
  EXPECT_EQ(platform::hostPath("/"), "/tmp/some-root/");
}

TEST_F(DevicePathTest, DotsAndDoubledSeparatorsAreResolved) {
  struct Case {
    std::string device, host;
  };
  for (const Case& c :
       {Case{"/var//mobile/./Applications", "/tmp/some-root/var/mobile/Applications"},
        Case{"/var/mobile/../Media/x.plist", "/tmp/some-root/var/Media/x.plist"},
        Case{"/var/mobile/..", "/tmp/some-root/var/"}, Case{"/var/mobile/.", "/tmp/some-root/var/mobile/"},
        Case{"var/mobile", "/tmp/some-root/var/mobile"}, Case{"", "/tmp/some-root/"}}) {
    EXPECT_EQ(platform::hostPath(c.device), c.host) << c.device;
  }
}

TEST_F(DevicePathTest, DotDotNeverLeavesTheRoot) {
  EXPECT_EQ(platform::hostPath("/Applications/../../../etc/passwd.app"), "/tmp/some-root/etc/passwd.app");
  EXPECT_EQ(platform::hostPath("/../.."), "/tmp/some-root/");
}

TEST_F(DevicePathTest, DefaultRootIsTheBuiltDeviceWhenUnset) {
  unsetenv("SBKIT_ROOT");
  EXPECT_EQ(platform::deviceRoot().filename(), "device");
  setenv("SBKIT_ROOT", "", 1);
  EXPECT_EQ(platform::deviceRoot().filename(), "device");
}

}  // namespace
