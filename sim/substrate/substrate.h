#pragma once

// The substrate's hook installer, as extensions see it.

#include <objc/runtime.h>

#if defined(__GNUC__)
#define SUBSTRATE_EXPORT __attribute__((visibility("default")))
#else
#define SUBSTRATE_EXPORT
#endif

extern "C" {

// Makes every instance of cls run replacement when it is sent selector, and
// stores in *result (when result is not null) an implementation that behaves
// as the method did before: the class's own implementation if it had one,
// otherwise one that calls whatever the superclass implements at call time.
// A nil class or a selector the class does not answer gets a warning on
// standard error and changes nothing, *result included.
SUBSTRATE_EXPORT void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);

}
