#line 1 "Tweak.x"
// NoEdit: the home screen stays out of edit mode; a request to enter it is
// refused and counted.

#import <SpringBoard/SpringBoard.h>

@interface SBIconController (NoEdit)
- (void)noEdit_countRefusal;
@end

static unsigned refusals = 0;


#include <substrate.h>
#if defined(__clang__)
#if __has_feature(objc_arc)
#define _LOGOS_SELF_TYPE_NORMAL __unsafe_unretained
#define _LOGOS_SELF_TYPE_INIT __attribute__((ns_consumed))
#define _LOGOS_SELF_CONST const
#define _LOGOS_RETURN_RETAINED __attribute__((ns_returns_retained))
#else
#define _LOGOS_SELF_TYPE_NORMAL
#define _LOGOS_SELF_TYPE_INIT
#define _LOGOS_SELF_CONST
#define _LOGOS_RETURN_RETAINED
#endif
#else
#define _LOGOS_SELF_TYPE_NORMAL
#define _LOGOS_SELF_TYPE_INIT
#define _LOGOS_SELF_CONST
#define _LOGOS_RETURN_RETAINED
#endif

__asm__(".linker_option \"-framework\", \"CydiaSubstrate\"");

@class SpringBoard; @class SBIconController; 
static void (*_logos_orig$_ungrouped$SBIconController$setIsEditing$)(_LOGOS_SELF_TYPE_NORMAL SBIconController* _LOGOS_SELF_CONST, SEL, BOOL); static void _logos_method$_ungrouped$SBIconController$setIsEditing$(_LOGOS_SELF_TYPE_NORMAL SBIconController* _LOGOS_SELF_CONST, SEL, BOOL); static void _logos_method$_ungrouped$SBIconController$noEdit_countRefusal(_LOGOS_SELF_TYPE_NORMAL SBIconController* _LOGOS_SELF_CONST, SEL); static void (*_logos_orig$_ungrouped$SpringBoard$applicationDidFinishLaunching$)(_LOGOS_SELF_TYPE_NORMAL SpringBoard* _LOGOS_SELF_CONST, SEL, id); static void _logos_method$_ungrouped$SpringBoard$applicationDidFinishLaunching$(_LOGOS_SELF_TYPE_NORMAL SpringBoard* _LOGOS_SELF_CONST, SEL, id); 
static __inline__ __attribute__((always_inline)) __attribute__((unused)) Class _logos_static_class_lookup$SBIconController(void) { static Class _klass; if(!_klass) { _klass = objc_getClass("SBIconController"); } return _klass; }
#line 12 "Tweak.x"


static void _logos_method$_ungrouped$SBIconController$setIsEditing$(_LOGOS_SELF_TYPE_NORMAL SBIconController* _LOGOS_SELF_CONST __unused self, SEL __unused _cmd, BOOL editing) {
	if (editing && !MSHookIvar<BOOL>(self, "_isEditing")) {
		NSLog(@"NoEdit: refused edit mode");
		[self noEdit_countRefusal];
		return;
	}
	_logos_orig$_ungrouped$SBIconController$setIsEditing$(self, _cmd, editing);
}


static void _logos_method$_ungrouped$SBIconController$noEdit_countRefusal(_LOGOS_SELF_TYPE_NORMAL SBIconController* _LOGOS_SELF_CONST __unused self, SEL __unused _cmd) {
	refusals++;
}





static void _logos_method$_ungrouped$SpringBoard$applicationDidFinishLaunching$(_LOGOS_SELF_TYPE_NORMAL SpringBoard* _LOGOS_SELF_CONST __unused self, SEL __unused _cmd, id application) {
	_logos_orig$_ungrouped$SpringBoard$applicationDidFinishLaunching$(self, _cmd, application);
	NSLog(@"NoEdit: %@ finished launching; edit mode %@", NSStringFromClass([application class]),
	      [[_logos_static_class_lookup$SBIconController() sharedInstance] isEditing] ? @"on" : @"off");
}



static __attribute__((constructor)) void _logosLocalCtor_6d0f3a42(int __unused argc, char __unused **argv, char __unused **envp) {
	NSAutoreleasePool *pool = [[NSAutoreleasePool alloc] init];
	NSLog(@"NoEdit: loaded");
	[pool release];
}
static __attribute__((constructor)) void _logosLocalInit() {
{Class _logos_class$_ungrouped$SBIconController = objc_getClass("SBIconController"); { static void *(*_logos_LBHookMessage)(Class, SEL, void *, void *) = (void *(*)(Class, SEL, void *, void *))dlsym(RTLD_DEFAULT, "LBHookMessage"); if (_logos_LBHookMessage) _logos_LBHookMessage(_logos_class$_ungrouped$SBIconController, @selector(setIsEditing:), (void *)&_logos_method$_ungrouped$SBIconController$setIsEditing$, (void *)&_logos_orig$_ungrouped$SBIconController$setIsEditing$); else MSHookMessageEx(_logos_class$_ungrouped$SBIconController, @selector(setIsEditing:), (IMP)&_logos_method$_ungrouped$SBIconController$setIsEditing$, (IMP*)&_logos_orig$_ungrouped$SBIconController$setIsEditing$);}{ char _typeEncoding[1024]; unsigned int i = 0; _typeEncoding[i] = 'v'; i += 1; _typeEncoding[i] = '@'; i += 1; _typeEncoding[i] = ':'; i += 1; _typeEncoding[i] = '\0'; class_addMethod(_logos_class$_ungrouped$SBIconController, @selector(noEdit_countRefusal), (IMP)&_logos_method$_ungrouped$SBIconController$noEdit_countRefusal, _typeEncoding); }Class _logos_class$_ungrouped$SpringBoard = objc_getClass("SpringBoard"); { MSHookMessageEx(_logos_class$_ungrouped$SpringBoard, @selector(applicationDidFinishLaunching:), (IMP)&_logos_method$_ungrouped$SpringBoard$applicationDidFinishLaunching$, (IMP*)&_logos_orig$_ungrouped$SpringBoard$applicationDidFinishLaunching$);}} }
#line 43 "Tweak.x"
