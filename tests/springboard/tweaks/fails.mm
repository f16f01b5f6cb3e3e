// A tweak that fails as FAILURE says: an Objective-C exception or a C++ one
// out of its constructor or out of a hook, or a symbol nothing defines.
#include <substrate.h>

#include <stdexcept>

extern "C" void tweakNothingDefines();

static void (*previousSetIsEditing)(id, SEL, BOOL);

static void raisingSetIsEditing(id self, SEL _cmd, BOOL editing) {
  if (editing) [NSException raise:@"NoEditException" format:@"edit mode is %@", @"refused"];
  previousSetIsEditing(self, _cmd, editing);
}

static __attribute__((constructor)) void failingInit() {
  if (FAILURE == 1) [NSException raise:NSInternalInconsistencyException format:@"raised in the constructor"];
  if (FAILURE == 2) throw std::runtime_error("thrown in the constructor");
  if (FAILURE == 3)
    MSHookMessageEx(objc_getClass("SBIconController"), @selector(setIsEditing:), (IMP)(void*)&raisingSetIsEditing,
                    (IMP*)&previousSetIsEditing);
  if (FAILURE == 4) tweakNothingDefines();
}
