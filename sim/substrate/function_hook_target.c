/* Functions for the function hook's tests to hook, in a library of their
   own as a framework's functions are. */

/* Kept a call of its own: inlined, its callers would not reach its entry.
   (A file-local function would also be specialised for its one caller's
   arguments, hence hidden instead.) */
#if defined(__clang__)
#define CALLED_AS_IT_IS __attribute__((noinline, visibility("hidden")))
#else
#define CALLED_AS_IT_IS __attribute__((noipa, visibility("hidden")))
#endif

__attribute__((visibility("default"))) int hookTargetTriple(int value) { return 3 * value + 1; }

/* Not exported: only the symbol table knows it (as a local symbol), and
   only doubleThenAdd calls it, directly rather than through the procedure
   linkage table. */
CALLED_AS_IT_IS int hookTargetScaled(int value, int factor) {
  int scaled = 0;
  for (int i = 0; i < factor; ++i) scaled += value;
  return scaled;
}

__attribute__((visibility("default"))) int hookTargetDoubleThenAdd(int value, int addend) {
  return hookTargetScaled(value, 2) + addend;
}
