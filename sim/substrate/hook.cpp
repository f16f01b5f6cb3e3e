#include <cstdio>

#include "early_messages.h"
#include "method_cache.h"
#include "substrate.h"
#include "trampoline.h"

namespace {

char kindMark(Class cls) { return class_isMetaClass(cls) ? '+' : '-'; }

// True when cls has its own implementation of the method rather than the
// superclass's.
bool implementsItself(Class cls, Method method, SEL selector) {
  Class superclass = class_getSuperclass(cls);
  return superclass == Nil || class_getInstanceMethod(superclass, selector) != method;
}

}  // namespace

extern "C" void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result) {
  selector = substrate::registeredSelector(selector);
  if (cls == Nil) {
    std::fprintf(stderr, "MS:Warning: nil class argument for %s\n",
                 selector ? sel_getName(selector) : "(nil selector)");
    return;
  }
  if (selector == nullptr) {
    std::fprintf(stderr, "MS:Warning: nil selector argument for %s\n", class_getName(cls));
    return;
  }
  Method method = class_getInstanceMethod(cls, selector);
  if (method == nullptr) {
    std::fprintf(stderr, "MS:Warning: message not found [%c%s %s]\n", kindMark(cls), class_getName(cls),
                 sel_getName(selector));
    return;
  }

  if (implementsItself(cls, method, selector)) {
    // The previous implementation is published before the replacement can run.
    if (result) *result = method_getImplementation(method);
    method_setImplementation(method, replacement);
    substrate::refreshMethodCaches(cls);
    return;
  }

  // Inherited: the class gets a method of its own, and the superclass stays
  // as it is.
  IMP previous = substrate::superclassTrampoline(cls, selector);
  if (previous == nullptr) {
    std::fprintf(stderr,
                 "MS:Warning: no trampoline left for [%c%s %s]; the previous implementation is fixed to the "
                 "superclass's current one\n",
                 kindMark(cls), class_getName(cls), sel_getName(selector));
    previous = method_getImplementation(method);
  }
  if (result) *result = previous;
  if (!class_addMethod(cls, selector, replacement, method_getTypeEncoding(method)))
    std::fprintf(stderr, "MS:Warning: cannot add [%c%s %s]\n", kindMark(cls), class_getName(cls),
                 sel_getName(selector));
}
