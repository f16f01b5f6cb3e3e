// GraphicsServices stand-in: announcing a changed preference to an application.

#include <dlfcn.h>
#include <objc/objc.h>

#include "bindings/frameworks.h"
#include "sim/frameworks/objects.h"

// Both arguments are string objects, as on the device, read by the stand-ins'
// objects library; opening this library alone loads no Foundation.
extern "C" void GSSendAppPreferencesChanged(id applicationId, id key) {
  void* objects = sim::openObjectsLibrary();
  auto journal = objects
                     ? reinterpret_cast<sim::PreferencesChangedFunction>(dlsym(objects, sim::kPreferencesChangedSymbol))
                     : nullptr;
  if (journal) journal(applicationId, key);
}
