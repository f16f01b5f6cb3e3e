// Answer: hooks functions as tweaks do, with the substrate's function API.
// Its own exported function, found by its device name, answers 42 instead of
// 41, also through a pointer taken before the hook; Foundation's
// NSStringFromClass names SpringBoard's class "SpringBoard (hooked)". Each
// original stays callable, and what the tweak saw goes to standard error.
#include <substrate.h>

#include <cstdio>

extern "C" __attribute__((visibility("default"), noinline)) int answerQuestion() {
  static volatile int answer = 41;
  return answer;
}

static int (*originalAnswer)();
static NSString* (*originalStringFromClass)(Class);

static int hookedAnswer() { return originalAnswer() + 1; }

static NSString* hookedStringFromClass(Class cls) {
  NSString* name = originalStringFromClass(cls);
  return cls == objc_getClass("SpringBoard") ? [name stringByAppendingString:@" (hooked)"] : name;
}

static __attribute__((constructor)) void answerInit() {
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  int (*before)() = &answerQuestion;
  void* own = MSFindSymbol(NULL, "_answerQuestion");
  MSHookFunction(own, (void*)&hookedAnswer, (void**)&originalAnswer);
  MSHookFunction(MSFindSymbol(NULL, "_NSStringFromClass"), (void*)&hookedStringFromClass,
                 (void**)&originalStringFromClass);
  std::fprintf(stderr, "Answer: found %d, through the old pointer %d, original %d\n", own == (void*)&answerQuestion,
               before(), originalAnswer());
  std::fprintf(stderr, "Answer: %s, original %s\n", [NSStringFromClass(objc_getClass("SpringBoard")) UTF8String],
               [originalStringFromClass(objc_getClass("SpringBoard")) UTF8String]);
  [pool release];
}
