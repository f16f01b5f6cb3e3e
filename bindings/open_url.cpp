// UIKit's shared application object takes the URL, as on the device; in the
// simulation it is the stand-in's, which journals it.

#include "bindings/open_url.h"

#include <err.h>
#include <objc/runtime.h>

#include "bindings/frameworks.h"
#include "platform/message.h"
#include "platform/object_bridge.h"

namespace bindings {

void openURL(const std::string& url) {
  platform::AutoreleasePool pool;
  Framework uikit = Framework::openOrExit(kUIKitPath);
  Class application = objc_getClass("UIApplication");
  if (application == Nil) errx(1, "cannot find UIApplication in %s", kUIKitPath);
  // Text that is no URL makes no URL object; the application is asked all
  // the same, as the device's would be, and opens nothing.
  platform::Object urlObject = platform::urlObject(url);
  platform::send<BOOL>(platform::send<id>(reinterpret_cast<id>(application), "sharedApplication"),
                       "openURL:", urlObject.get());
}

}  // namespace bindings
