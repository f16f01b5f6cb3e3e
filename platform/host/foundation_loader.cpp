// Foundation on this host is GNUstep Base, and nothing links it to a tool:
// the object bridge finds Foundation's classes by name, and the first name
// the runtime does not know loads it here. A run that hands no object across
// thus never pays for loading it (some ten milliseconds). On the device
// Foundation is the system's own and always at hand, and no such loader is
// built.

#include <dlfcn.h>
#include <err.h>
#include <objc/runtime.h>

namespace {

objc_get_unknown_class_handler previousHandler = nullptr;

Class loadFoundationFor(const char* name) {
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    // Kept for good: the runtime holds on to the classes it registers.
    if (!dlopen(SBKIT_FOUNDATION_SONAME, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE))
      errx(1, "cannot load Foundation (%s): %s", SBKIT_FOUNDATION_SONAME, dlerror());
  }
  if (Class found = objc_lookUpClass(name)) return found;
  return previousHandler ? previousHandler(name) : Nil;
}

__attribute__((constructor)) void loadFoundationWhenAClassIsMissing() {
  // A library holding the bridge has a copy of its own: the handler of the
  // program that loads it stays in the chain.
  previousHandler = objc_setGetUnknownClassHandler(loadFoundationFor);
}

}  // namespace
