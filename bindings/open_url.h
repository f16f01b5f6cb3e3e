#pragma once

// Handing a URL to UIKit's application object, which opens it in the
// application for URLs of its kind (a store search in the store).

#include <string>

namespace bindings {

// Asks the system to open url, not knowing whether an application took it.
// Without UIKit or its class the run ends with status 1, naming what is missing.
void openURL(const std::string& url);

}  // namespace bindings
