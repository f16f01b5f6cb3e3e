#!/usr/bin/env bash
# Builds the kit for the device's processor (32-bit ARM, hard float) with
# Debian's cross compilers and runs the whole test suite under qemu-arm; or,
# given aarch64, for 64-bit ARM Linux hosts, and runs the substrate's and the
# simulated SpringBoard's tests under qemu-aarch64. Installs what is missing
# first. Usage: scripts/test-arm.sh [aarch64] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = aarch64 ]; then
  shift
  arch=arm64
  triple=aarch64-linux-gnu
  toolchain=cmake/aarch64.cmake
  build=${1:-build-aarch64}
  # What a tweak developer's arm64 host needs to work: the substrate and the
  # simulated SpringBoard with its extensions, and the folders of their tests.
  targets=(substrate_test springboard_e2e_test)
  test_dirs=(sim/substrate tests/springboard)
else
  arch=armhf
  triple=arm-linux-gnueabihf
  toolchain=cmake/armhf.cmake
  build=${1:-build-arm}
  targets=(all)
  test_dirs=(.)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Host tools, the cross compilers and the emulator; the libraries the
# build links; the architecture-free resources GNUstep Base reads at run time,
# and the fonts the screen's pictures are drawn in.
host_packages=(cmake make pkg-config dpkg-dev file "g++-12-$triple" "gobjc++-12-$triple" qemu-user
  gnustep-base-common fonts-dejavu-core fonts-noto-color-emoji)
arm_packages=(libplist-dev libcurl4-openssl-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libobjc-12-dev libcairo2-dev libpango1.0-dev libcapstone-dev)
# GNUstep Base of another architecture cannot be installed beside the host's;
# its packages are unpacked into the build instead (see cmake/debian_cross.cmake).
gnustep_packages=(libgnustep-base-dev libgnustep-base1.28)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

updated=""
update() {
  [ -n "$updated" ] && return
  $sudo apt-get update -qq
  updated=yes
}

install_missing() {
  local missing=()
  for package in "$@"; do installed "$package" || missing+=("$package"); done
  ((${#missing[@]})) || return 0
  echo "Installing ${missing[*]}"
  update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
  $sudo dpkg --add-architecture "$arch"
  updated=""
fi
install_missing "${host_packages[@]}" "${arm_packages[@]/%/:$arch}"

extra="$build/$arch-root"
if [ ! -e "$extra/usr/lib/libgnustep-base.so" ] || [ ! -e "$extra/DEBIAN/shlibs" ]; then
  downloads=$(mktemp -d)
  trap 'rm -rf "$downloads"' EXIT
  (cd "$downloads" && apt-get download -qq "${gnustep_packages[@]/%/:$arch}" 2>/dev/null) || {
    update
    (cd "$downloads" && apt-get download -qq "${gnustep_packages[@]/%/:$arch}")
  }
  mkdir -p "$extra"
  for deb in "$downloads"/*.deb; do dpkg-deb -x "$deb" "$extra"; done
  # The library's shlibs and symbols files, where dpkg-shlibdeps looks for a
  # library that no installed package holds, so that the package built from
  # here depends on the library's package.
  dpkg-deb -e "$downloads"/libgnustep-base1.28_*.deb "$extra/DEBIAN"
  # The libraries the unpacked one needs, except its architecture-free parts.
  runtime=$(dpkg-deb -f "$downloads"/libgnustep-base1.28_*.deb Depends | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' |
    grep -v '^gnustep-base-common$' | sed "s/\$/:$arch/")
  # shellcheck disable=SC2086
  install_missing $runtime
fi

start=$SECONDS
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
file "$build/bin/springboard"
for dir in "${test_dirs[@]}"; do ctest --test-dir "$build/$dir" -j"$(nproc)" --output-on-failure; done
echo "$arch build and tests: $((SECONDS - start)) s"
