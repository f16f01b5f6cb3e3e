#pragma once

// Sending a message as the device's message send does, with two guarantees
// the bare runtime lacks: a nil receiver answers zero (the runtime's nil
// function clears only the integer register), and so does a selector the
// receiver lacks, instead of reaching the forwarding function, which crashes.

#include <objc/runtime.h>

namespace platform {

// Converts between IMP (the runtime's "id (*)(id, SEL, ...)") and a method's
// own function type. Going through void (*)() says the conversion is meant.
template <class To, class From>
To implementationCast(From function) {
  return reinterpret_cast<To>(reinterpret_cast<void (*)()>(function));
}

// Sends selector with args to receiver and returns its answer as R. The
// argument types must be the method's own, exactly: pass a one-byte BOOL as
// BOOL, not as int.
template <class R = void, class... A>
R send(id receiver, const char* selector, A... args) {
  if (receiver == nil) return R();
  SEL name = sel_registerName(selector);
  Class cls = object_getClass(receiver);
  if (!class_respondsToSelector(cls, name)) return R();
  auto implementation = implementationCast<R (*)(id, SEL, A...)>(class_getMethodImplementation(cls, name));
  return implementation(receiver, name, args...);
}

}  // namespace platform
