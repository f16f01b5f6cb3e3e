#pragma once

// What the homeprefs tests share: the file it edits and the warning a run
// that is not root prints after every write.

#include <unistd.h>

#include <string>

namespace homeprefs_test {

inline const std::string kPrefs = "/private/var/mobile/Library/Preferences/com.apple.springboard.plist";

// Only root can give the file to the mobile user.
inline std::string ownerWarning() {
  return getuid() == 0 ? "" : "homeprefs: cannot give " + kPrefs + " to user 501 and group 501\n";
}

}  // namespace homeprefs_test
