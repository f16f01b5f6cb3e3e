#ifndef SBKIT_SUBSTRATE_H
#define SBKIT_SUBSTRATE_H

/* The substrate's hooking API, as the device declares it, for C, Objective-C,
   C++ and Objective-C++ alike. */

/* As on the device, a tweak that includes it can look symbols up with dlsym. */
#include <dlfcn.h>
#include <objc/runtime.h>

#if defined(__GNUC__)
#define SUBSTRATE_EXPORT __attribute__((visibility("default")))
#else
#define SUBSTRATE_EXPORT
#endif

/* Logos of today asks the Mach-O linker for the substrate with a
   ".linker_option" line, which ELF assemblers do not know; here the link
   flags bring the substrate, and the line is taken and dropped. */
__asm__(".macro .linker_option args:vararg\n.endm");

#ifdef __cplusplus
extern "C" {
#endif

/* A loaded image (a library or the program), as MSGetImageByName answers it. */
typedef const void* MSImageRef;

/* Makes every instance of cls run replacement when it is sent selector, and
   stores in *result (when result is not null) an implementation that behaves
   as the method did before: the class's own implementation if it had one,
   otherwise one that calls whatever the superclass implements at call time.
   A nil class or a selector the class does not answer gets a warning on
   standard error and changes nothing, *result included. */
SUBSTRATE_EXPORT void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);

/* Makes every call of the function at symbol run replacement, and stores in
   *result (when result is not null) a function that behaves as it did
   before. What cannot be rewritten safely gets a warning and is left as it is. */
SUBSTRATE_EXPORT void MSHookFunction(void* symbol, void* replacement, void** result);

/* The address of the symbol named as the device names it (with its leading
   underscore, "_name") in image, or in every loaded image when image is
   null; null when none holds it. */
SUBSTRATE_EXPORT void* MSFindSymbol(MSImageRef image, const char* name);

/* The loaded image at a device path, or null when none is loaded there. The
   program of the process answers for its executable's device path (SpringBoard
   for /System/Library/CoreServices/SpringBoard.app/SpringBoard). */
SUBSTRATE_EXPORT MSImageRef MSGetImageByName(const char* file);

#ifdef __cplusplus
}

/* The instance variable name of object, as a T the caller may read and
   write. The class must have it: as on the device, nothing is checked. */
template <typename T>
static inline T& MSHookIvar(id object, const char* name) {
  Ivar variable = class_getInstanceVariable(object_getClass(object), name);
  char* base = reinterpret_cast<char*>(object);
  return *reinterpret_cast<T*>(variable ? base + ivar_getOffset(variable) : nullptr);
}
#endif

#endif
