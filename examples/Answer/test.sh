#!/usr/bin/env bash
# Answer's test: built against the installed SDK with pkg-config under g++
# and clang++, loaded into a fresh simulated device, its function hooks are
# checked by what the tweak prints. Usage: test.sh SDK-PREFIX
set -euo pipefail
sdk=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PKG_CONFIG_PATH=$sdk/lib/pkgconfig

fail() { echo "Answer test: $*" >&2; exit 1; }

for compiler in g++ clang++; do
  # shellcheck disable=SC2046 # the flags are words
  "$compiler" $(pkg-config --cflags sbkit-tweak) -shared -fPIC "$here/Tweak.mm" -o "$work/Answer.dylib" \
    $(pkg-config --libs sbkit-tweak) 2>"$work/build.log" || { cat "$work/build.log"; fail "$compiler build"; }
  root=$work/root-$compiler
  "$sdk/bin/springboard" --new-root "$root"
  cp "$work/Answer.dylib" "$here/Answer.plist" "$root/Library/MobileSubstrate/DynamicLibraries/"
  SBKIT_ROOT=$root "$sdk/bin/springboard" -c extensions >"$work/out" 2>"$work/err" ||
    fail "$compiler: springboard failed: $(cat "$work/err")"
  grep -qx $'Answer\tloaded' "$work/out" || fail "$compiler: not loaded"
  printf '%s\n' 'Answer: found 1, through the old pointer 42, original 41' \
    'Answer: SpringBoard (hooked), original SpringBoard' | diff - "$work/err" || fail "$compiler: unexpected hooks"
  echo "Answer test: $compiler passed"
done
