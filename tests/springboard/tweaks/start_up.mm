// A tweak in the shape Logos writes, with hooks on what SpringBoard does at
// start: each prints what it saw on standard error, so a test sees the order.
#include <substrate.h>

#import <SpringBoard/SpringBoard.h>

#include <cstdio>

static id (*_logos_orig$SBIconModel$init)(SBIconModel*, SEL);
static id (*_logos_meta_orig$SBIconModel$sharedInstance)(Class, SEL);
static void (*_logos_orig$SBIconModel$loadIconState)(SBIconModel*, SEL);
static void (*_logos_orig$SpringBoard$applicationDidFinishLaunching$)(SpringBoard*, SEL, id);

static id _logos_method$SBIconModel$init(SBIconModel* __unused self, SEL __unused _cmd) {
  std::fprintf(stderr, "tweak: -[SBIconModel init]\n");
  return _logos_orig$SBIconModel$init(self, _cmd);
}

static id _logos_meta_method$SBIconModel$sharedInstance(Class __unused self, SEL __unused _cmd) {
  std::fprintf(stderr, "tweak: +[SBIconModel sharedInstance]\n");
  return _logos_meta_orig$SBIconModel$sharedInstance(self, _cmd);
}

static void _logos_method$SBIconModel$loadIconState(SBIconModel* __unused self, SEL __unused _cmd) {
  _logos_orig$SBIconModel$loadIconState(self, _cmd);
  std::fprintf(stderr, "tweak: -[SBIconModel loadIconState] %s\n", [self _iconState] ? "state" : "none");
}

static void _logos_method$SpringBoard$applicationDidFinishLaunching$(SpringBoard* __unused self, SEL __unused _cmd,
                                                                     id application) {
  _logos_orig$SpringBoard$applicationDidFinishLaunching$(self, _cmd, application);
  // SpringBoard's objects are NSObject's: every NSObject message works on them.
  SBIconController* controller = [SBIconController sharedInstance];
  std::fprintf(stderr, "tweak: -[%s applicationDidFinishLaunching:] itself %d, shared %d, responds %d, %s\n",
               [NSStringFromClass([self class]) UTF8String], application == self,
               [UIApplication sharedApplication] == self,
               [controller respondsToSelector:@selector(setIsEditing:)] &&
                   [controller performSelector:@selector(isEditing)] == nil,
               [[controller description] hasPrefix:@"<SBIconController"] ? "described" : "not described");
}

static __attribute__((constructor)) void _logosLocalInit() {
  std::fprintf(stderr, "tweak: loaded, application %s\n", [UIApplication sharedApplication] ? "made" : "not made yet");
  Class _logos_class$SBIconModel = objc_getClass("SBIconModel");
  MSHookMessageEx(_logos_class$SBIconModel, @selector(init), (IMP)(void*)&_logos_method$SBIconModel$init,
                  (IMP*)&_logos_orig$SBIconModel$init);
  MSHookMessageEx(_logos_class$SBIconModel, @selector(loadIconState),
                  (IMP)(void*)&_logos_method$SBIconModel$loadIconState, (IMP*)&_logos_orig$SBIconModel$loadIconState);
  MSHookMessageEx(object_getClass(_logos_class$SBIconModel), @selector(sharedInstance),
                  (IMP)(void*)&_logos_meta_method$SBIconModel$sharedInstance,
                  (IMP*)&_logos_meta_orig$SBIconModel$sharedInstance);
  MSHookMessageEx(objc_getClass("SpringBoard"), @selector(applicationDidFinishLaunching:),
                  (IMP)(void*)&_logos_method$SpringBoard$applicationDidFinishLaunching$,
                  (IMP*)&_logos_orig$SpringBoard$applicationDidFinishLaunching$);
  MSHookMessageEx(objc_getClass("SBNoSuchClass"), @selector(isEditing), (IMP)(void*)&_logos_method$SBIconModel$init,
                  nullptr);
}
