// The runtime's entry points that take a selector or a receiver, defined
// again in front of the runtime's own: SpringBoard links the substrate ahead
// of the runtime, so these come first in the process's symbol lookup and
// every library's calls reach them. Each makes its arguments registered and
// calls the runtime's own definition, the next one in lookup order.

#include "early_messages.h"

#include <dlfcn.h>
#include <objc/message.h>

#include "substrate.h"

// Exported by the runtime without a declaration in its headers.
extern "C" BOOL sel_is_mapped(SEL selector);

namespace {

// The runtime's record of a selector. Until the module is registered its
// first word is the selector's name; registering makes it the selector's
// number, which is what sel_is_mapped tells.
struct SelectorRecord {
  const char* name;
  const char* types;
};

// A literal string's class pointer stays null until its module is
// registered; no other object has none.
struct ObjectHeader {
  Class isa;
};

id withClass(id receiver) {
  auto* header = reinterpret_cast<ObjectHeader*>(receiver);
  if (header != nullptr && header->isa == Nil) {
    static Class literalStrings = objc_getClass("NSConstantString");
    header->isa = literalStrings;
  }
  return receiver;
}

template <class F>
F runtimeOwn(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

namespace substrate {

SEL registeredSelector(SEL selector) {
  if (selector == nullptr || sel_is_mapped(selector)) return selector;
  auto* record = reinterpret_cast<const SelectorRecord*>(selector);
  return sel_registerTypedName(record->name, record->types);
}

}  // namespace substrate

using substrate::registeredSelector;

extern "C" {

SUBSTRATE_EXPORT IMP objc_msg_lookup(id receiver, SEL selector) {
  static auto own = runtimeOwn<IMP (*)(id, SEL)>("objc_msg_lookup");
  return own(withClass(receiver), registeredSelector(selector));
}

SUBSTRATE_EXPORT IMP objc_msg_lookup_super(struct objc_super* super, SEL selector) {
  static auto own = runtimeOwn<IMP (*)(struct objc_super*, SEL)>("objc_msg_lookup_super");
  return own(super, registeredSelector(selector));
}

SUBSTRATE_EXPORT BOOL class_addMethod(Class cls, SEL selector, IMP implementation, const char* types) {
  static auto own = runtimeOwn<BOOL (*)(Class, SEL, IMP, const char*)>("class_addMethod");
  return own(cls, registeredSelector(selector), implementation, types);
}

SUBSTRATE_EXPORT IMP class_replaceMethod(Class cls, SEL selector, IMP implementation, const char* types) {
  static auto own = runtimeOwn<IMP (*)(Class, SEL, IMP, const char*)>("class_replaceMethod");
  return own(cls, registeredSelector(selector), implementation, types);
}

SUBSTRATE_EXPORT Method class_getInstanceMethod(Class cls, SEL selector) {
  static auto own = runtimeOwn<Method (*)(Class, SEL)>("class_getInstanceMethod");
  return own(cls, registeredSelector(selector));
}

SUBSTRATE_EXPORT Method class_getClassMethod(Class cls, SEL selector) {
  static auto own = runtimeOwn<Method (*)(Class, SEL)>("class_getClassMethod");
  return own(cls, registeredSelector(selector));
}

SUBSTRATE_EXPORT BOOL class_respondsToSelector(Class cls, SEL selector) {
  static auto own = runtimeOwn<BOOL (*)(Class, SEL)>("class_respondsToSelector");
  return own(cls, registeredSelector(selector));
}

SUBSTRATE_EXPORT IMP class_getMethodImplementation(Class cls, SEL selector) {
  static auto own = runtimeOwn<IMP (*)(Class, SEL)>("class_getMethodImplementation");
  return own(cls, registeredSelector(selector));
}

SUBSTRATE_EXPORT const char* sel_getName(SEL selector) {
  static auto own = runtimeOwn<const char* (*)(SEL)>("sel_getName");
  return own(registeredSelector(selector));
}

}  // extern "C"
