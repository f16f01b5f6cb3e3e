// On this host the system is the simulated device: its UIKit opens the URL,
// and the simulation journals it.

#include "platform/open_url.h"

#include "platform/framework.h"
#include "platform/plist.h"

namespace platform {

void openURL(const std::string& url) {
  using Function = void (*)(const plist::Value* url);
  Framework uikit = Framework::openOrExit(kUIKitPath);
  auto open = uikit.entryPointOrExit<Function>("UIApplicationOpenURL");
  const plist::Value urlText(url);
  open(&urlText);
}

}  // namespace platform
