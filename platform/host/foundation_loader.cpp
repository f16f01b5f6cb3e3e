// Foundation on this host is GNUstep Base, linked to no tool: the bridge finds
// its classes by name, and the first the runtime does not know loads it here,
// so a run that hands no object across never pays its ten milliseconds. The
// device's Foundation is always at hand, and no loader is built for it.

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
