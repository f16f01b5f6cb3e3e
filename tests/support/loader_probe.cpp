// A stand-in extension for the loader's tests: when it is loaded it appends
// its own file name to $SUBSTRATE_PROBE_LOADED, so a test sees which copies
// were opened and in what order.

#include <dlfcn.h>

#include <cstdlib>
#include <string>

// Found through the global scope when the library is opened RTLD_GLOBAL. A
// function rather than a variable: every copy defines it, which the address
// sanitizer reports for variables as a one-definition violation.
extern "C" int substrateProbeMarker() { return 1; }

namespace {

#ifdef NEEDS_AN_UNDEFINED_SYMBOL
// Defined nowhere: the library cannot be bound.
extern "C" void substrateProbeNothingDefines();
#endif

__attribute__((constructor)) void noteLoad() {
#ifdef NEEDS_AN_UNDEFINED_SYMBOL
  substrateProbeNothingDefines();
#endif
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&noteLoad), &info) == 0 || info.dli_fname == nullptr) return;
  std::string name = info.dli_fname;
  name = name.substr(name.find_last_of('/') + 1);
  const char* before = std::getenv("SUBSTRATE_PROBE_LOADED");
  std::string all = before && *before ? std::string(before) + " " + name : name;
  setenv("SUBSTRATE_PROBE_LOADED", all.c_str(), 1);
}

}  // namespace
