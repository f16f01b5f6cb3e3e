#pragma once

// What the homeprefs tests share: the file it edits, the warning a run that
// is not root prints after every write, and a fresh sample device to run it on.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/plist/plist.h"
#include "tests/support/device.h"

namespace homeprefs_test {

inline const std::string kPrefs = "/private/var/mobile/Library/Preferences/com.apple.springboard.plist";

// Only root can give the file to the mobile user.
inline std::string ownerWarning() {
  return getuid() == 0 ? "" : "homeprefs: cannot give " + kPrefs + " to user 501 and group 501\n";
}

// The entries of the preferences file on a device; none when it is not a dictionary.
inline platform::plist::Dictionary preferences(const e2e::TemporaryDevice& device) {
  auto parsed = platform::plist::parse(e2e::fileBytes(device.host(kPrefs)));
  return parsed && parsed->is<platform::plist::Dictionary>() ? *parsed->get<platform::plist::Dictionary>()
                                                             : platform::plist::Dictionary{};
}

// homeprefs run as a user runs it against a fresh copy of the sample device,
// and the preferences file looked at from outside.
class PreferencesFileTest : public ::testing::Test {
 protected:
  e2e::Result homeprefs(std::vector<std::string> arguments) {
    return e2e::runProgram(device, "homeprefs", std::move(arguments));
  }
  std::string fileBytes() const { return e2e::fileBytes(device.host(kPrefs)); }
  platform::plist::Dictionary entries() const { return preferences(device); }
  // What the file's folder holds, the file included: 1 when nothing is left beside it.
  std::size_t filesBesideThePreferences() const {
    namespace fs = std::filesystem;
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(device.host(kPrefs).parent_path()), fs::directory_iterator()));
  }

  e2e::TemporaryDevice device;
};

}  // namespace homeprefs_test
