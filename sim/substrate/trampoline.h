#pragma once

// Entry points that forward a call, whatever its arguments, to the
// implementation a superclass has at the moment of the call.

#include <objc/runtime.h>

namespace substrate {

// An implementation that calls the one the superclass of cls has for selector
// when it is called, so that a later hook on the superclass is followed.
// Null when every trampoline of the fixed pool is taken.
IMP superclassTrampoline(Class cls, SEL selector);

}  // namespace substrate
