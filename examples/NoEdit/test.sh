#!/usr/bin/env bash
# NoEdit's test, as a tweak developer's CI runs it: build the tweak against
# the installed SDK (with pkg-config under g++ and clang++, and with CMake),
# install it in a fresh simulated device, drive SpringBoard and assert on
# what it printed and journalled. Usage: test.sh SDK-PREFIX
set -euo pipefail
sdk=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PKG_CONFIG_PATH=$sdk/lib/pkgconfig
springboard=$sdk/bin/springboard

fail() { echo "NoEdit test: $*" >&2; exit 1; }

# Runs the tweak at $1 in a new root; checks stdout, stderr, status, journal.
check() {
  local tweak=$1 root=$work/root-$2
  "$springboard" --new-root "$root"
  cp "$tweak" "$root/Library/MobileSubstrate/DynamicLibraries/NoEdit.dylib"
  cp "$here/NoEdit.plist" "$root/Library/MobileSubstrate/DynamicLibraries/"
  local status=0
  SBKIT_ROOT=$root "$springboard" -c 'extensions; mark refused; edit on; status; mark left; edit off' \
    >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 0 ] || fail "$2: springboard exited with $status: $(cat "$work/err")"
  grep -qx $'NoEdit\tloaded' "$work/out" || fail "$2: not loaded: $(cat "$work/out")"
  grep -qx 'edit mode: off' "$work/out" || fail "$2: edit mode was entered"
  grep -q 'NoEdit: loaded$' "$work/err" || fail "$2: the constructor did not log"
  grep -q 'NoEdit: SpringBoard finished launching; edit mode off$' "$work/err" || fail "$2: no launch seen"
  grep -q 'NoEdit: refused edit mode$' "$work/err" || fail "$2: the request was not refused"
  # The journal, cut into steps by the marks: nothing reached SpringBoard
  # while edit mode was refused, and leaving it did.
  cut -f2- "$root/private/var/sim/journal" >"$work/journal"
  printf 'mark\trefused\nmark\tleft\n-[SBIconController setIsEditing:]\t0\n' | diff - "$work/journal" ||
    fail "$2: unexpected journal"
  echo "NoEdit test: $2 passed"
}

for compiler in g++ clang++; do
  # shellcheck disable=SC2046 # the flags are words
  "$compiler" $(pkg-config --cflags sbkit-tweak) -shared -fPIC "$here/Tweak.x.mm" -o "$work/NoEdit-$compiler.dylib" \
    $(pkg-config --libs sbkit-tweak) 2>"$work/build-$compiler.log" || { cat "$work/build-$compiler.log"; fail "$compiler build"; }
  check "$work/NoEdit-$compiler.dylib" "pkg-config, $compiler"
done

cmake -S "$here" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$sdk" >/dev/null
cmake --build "$work/cmake" >/dev/null 2>"$work/build-cmake.log" || { cat "$work/build-cmake.log"; fail "cmake build"; }
cmp -s "$work/cmake/NoEdit.plist" "$here/NoEdit.plist" || fail "sbkit_add_tweak wrote another filter"
check "$work/cmake/NoEdit.dylib" "find_package"
