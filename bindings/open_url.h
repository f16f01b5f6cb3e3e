#pragma once

// Handing a URL to the system through UIKit's application object, which opens
// it in the application that handles URLs of its kind (a web page in the
// browser, a store search in the store).

#include <string>

namespace bindings {

// Asks the system to open url. Whether an application took it is not known to
// the caller. Without the system's user-interface framework, or without its
// entry point, the run ends with status 1 and a line naming what is missing.
void openURL(const std::string& url);

}  // namespace bindings
