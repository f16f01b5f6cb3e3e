#include "runtime.h"

#include <cstdio>
#include <cstdlib>

namespace springboard {

namespace {

// Two definitions of one class name mean the program is broken; say which.
Class allocated(Class cls, const char* name) {
  if (cls == Nil) {
    std::fprintf(stderr, "springboard: cannot define class %s\n", name);
    std::exit(1);
  }
  return cls;
}

}  // namespace

ClassBuilder ClassBuilder::root(const char* name) {
  ClassBuilder builder(allocated(objc_allocateClassPair(Nil, name, 0), name));
  return builder.variable("isa", sizeof(Class), 3, "#");
}

ClassBuilder ClassBuilder::subclass(Class superclass, const char* name) {
  return ClassBuilder(allocated(objc_allocateClassPair(superclass, name, 0), name));
}

ClassBuilder& ClassBuilder::variable(const char* name, std::size_t size, std::uint8_t alignmentLog2,
                                     const char* type) {
  class_addIvar(cls_, name, size, alignmentLog2, type);
  return *this;
}

Class ClassBuilder::done() {
  objc_registerClassPair(cls_);
  return cls_;
}

}  // namespace springboard
