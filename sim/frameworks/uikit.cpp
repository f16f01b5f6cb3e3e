// UIKit stand-in. Tools open UIKit to reach SpringBoard services: it links
// SpringBoardServices, so entry points looked up through its handle are found
// there, as on the device. Its application class, UIApplication, opens URLs;
// it lives in the stand-ins' objects library, which UIKit loads when the
// process has Foundation, the only place where a URL object can come from.

#include <dlfcn.h>
#include <objc/objc.h>

#include "sim/frameworks/objects.h"

namespace {

// The runtime is looked up rather than linked, so a tool without objects
// loads neither it nor Foundation by opening UIKit; and the class is looked
// up without the runtime's handler for unknown classes, which would load
// Foundation where it is not loaded yet.
__attribute__((constructor)) void defineApplicationClassWhereFoundationIs() {
  auto lookUpClass = reinterpret_cast<Class (*)(const char*)>(dlsym(RTLD_DEFAULT, "objc_lookUpClass"));
  if (lookUpClass && lookUpClass("NSObject")) sim::openObjectsLibrary();
}

}  // namespace
