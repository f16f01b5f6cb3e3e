#pragma once

// Small helpers for defining SpringBoard's classes in the object runtime.

#include <objc/runtime.h>

#include <cstddef>
#include <cstdint>

#include "platform/message.h"

namespace springboard {

// Defines a class: variables and methods are added, then done() registers it.
class ClassBuilder {
 public:
  // A root class, given its isa variable first so that later variables do
  // not overlap it.
  static ClassBuilder root(const char* name);
  static ClassBuilder subclass(Class superclass, const char* name);

  // alignmentLog2 is the runtime's: 3 for pointers, 0 for bytes.
  ClassBuilder& variable(const char* name, std::size_t size, std::uint8_t alignmentLog2, const char* type);
  template <class F>
  ClassBuilder& method(const char* selector, F implementation, const char* types) {
    class_addMethod(cls_, sel_registerName(selector), platform::implementationCast<IMP>(implementation), types);
    return *this;
  }
  Class done();

 private:
  explicit ClassBuilder(Class cls) : cls_(cls) {}
  Class cls_;
};

// The instance variable name of object, as a T; the class must have it.
template <class T>
T& variable(id object, const char* name) {
  Ivar ivar = class_getInstanceVariable(object_getClass(object), name);
  return *reinterpret_cast<T*>(reinterpret_cast<char*>(object) + ivar_getOffset(ivar));
}

}  // namespace springboard
