// For the leak checker of sanitized builds: the GNU object runtime keeps what
// it allocates for classes, methods and type strings for the life of the
// process, as it must, but in tables the checker cannot follow, so every
// class definition looks like a leak. Those reports are the runtime's, not
// ours; naming them here lets a real leak stand out, and the count of
// suppressed reports stays off standard error, which tests compare.
// Fontconfig, under the simulated SpringBoard's screenshots, likewise keeps
// its font lists and patterns in caches for the life of the process.

extern "C" const char* __lsan_default_suppressions() { return "leak:libobjc.so\nleak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
