// For the leak checker of sanitized builds: the GNU object runtime keeps what
// it allocates for classes, methods and type strings for the life of the
// process, as it must, but in tables the checker cannot follow, so every
// class definition looks like a leak. GNUstep Base likewise makes a few
// objects once per process, on first use (its property-list writer's and URL
// parser's own), that the checker cannot see held. Those reports are the
// runtime's and Foundation's, not ours; naming them here lets a real leak
// stand out, and the count of suppressed reports stays off standard error,
// which tests compare. Fontconfig, under the simulated SpringBoard's
// screenshots, likewise keeps its font lists and patterns in caches for the
// life of the process.
//
// GNUstep's library carries no names for its own functions, so its reports
// can only be named by the library. An object the kit leaks is allocated
// inside it too: the bridge's tests count the objects it leaves alive
// instead.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libobjc.so\nleak:libgnustep-base.so\nleak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
