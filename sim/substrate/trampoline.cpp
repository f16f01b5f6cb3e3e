#include "trampoline.h"

#include <array>
#include <cstddef>
#include <mutex>

// The stubs of the processor's trampoline_<processor>.S: each loads its index
// and jumps to a body that asks sbkitTrampolineTarget where to go.
extern "C" {
extern const char sbkitTrampolineStubs[];
extern const char sbkitTrampolineStubsEnd[];
__attribute__((visibility("hidden"))) IMP sbkitTrampolineTarget(std::size_t index);
}

namespace {

constexpr std::size_t kStubSize = 16;  // every stub starts on a 16-byte boundary

struct Target {
  Class cls = Nil;
  SEL selector = nullptr;
};

// Hooks are installed at load time, possibly from several threads' loaders;
// a target is written once, before its stub is handed out.
std::mutex poolMutex;
std::array<Target, 256> targets;
std::size_t used = 0;

std::size_t stubCount() { return static_cast<std::size_t>(sbkitTrampolineStubsEnd - sbkitTrampolineStubs) / kStubSize; }

// Answers zero. Only reached if the superclass lost the method, which the
// runtime gives no way to do; it keeps a broken hierarchy from crashing.
id answerNothing(id, SEL, ...) { return nil; }

}  // namespace

IMP sbkitTrampolineTarget(std::size_t index) {
  const Target& target = targets[index];
  Class superclass = class_getSuperclass(target.cls);
  // class_getInstanceMethod walks the method lists rather than the dispatch
  // tables, so it sees a superclass hook even where a table is stale.
  Method method = superclass ? class_getInstanceMethod(superclass, target.selector) : nullptr;
  return method ? method_getImplementation(method) : reinterpret_cast<IMP>(answerNothing);
}

namespace substrate {

IMP superclassTrampoline(Class cls, SEL selector) {
  std::lock_guard lock(poolMutex);
  if (used >= targets.size() || used >= stubCount()) return nullptr;
  targets[used] = {cls, selector};
  return reinterpret_cast<IMP>(const_cast<char*>(sbkitTrampolineStubs + used++ * kStubSize));
}

}  // namespace substrate
