/* Functions for the function hook's tests to hook, in a library of their
   own as a framework's functions are. */

/* Kept a call of its own: inlined or specialised, its callers would not
   reach its entry. */
#if defined(__clang__)
#define CALLED_AS_IT_IS __attribute__((noinline))
#else
#define CALLED_AS_IT_IS __attribute__((noipa))
#endif

__attribute__((visibility("default"))) int hookTargetTriple(int value) { return 3 * value + 1; }

/* File-local: only the symbol table knows it, and only doubleThenAdd calls
   it, directly rather than through the procedure linkage table. */
static CALLED_AS_IT_IS int hookTargetScaled(int value, int factor) {
  int scaled = 0;
  for (int i = 0; i < factor; ++i) scaled += value;
  return scaled;
}

__attribute__((visibility("default"))) int hookTargetDoubleThenAdd(int value, int addend) {
  return hookTargetScaled(value, 2) + addend;
}
