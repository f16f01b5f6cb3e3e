#!/usr/bin/env bash
# Builds the kit for the device's processor (32-bit ARM, hard float) with
# Debian's cross compilers and runs the whole test suite under qemu-arm.
# Installs what is missing first. Usage: scripts/test-arm.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-arm}
arch=armhf

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Host tools, the cross compilers and the emulator; the armhf libraries the
# build links; the architecture-free resources GNUstep Base reads at run time,
# and the fonts the screen's pictures are drawn in.
host_packages=(cmake make pkg-config dpkg-dev file g++-arm-linux-gnueabihf gobjc++-12-arm-linux-gnueabihf qemu-user
  gnustep-base-common fonts-dejavu-core fonts-noto-color-emoji)
arm_packages=(libplist-dev libcurl4-openssl-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libobjc-12-dev libcairo2-dev libpango1.0-dev)
# GNUstep Base for armhf cannot be installed beside the host's; its packages
# are unpacked into the build instead (see cmake/armhf.cmake).
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

extra="$build/armhf-root"
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
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/armhf.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
file "$build/bin/iconcount"
ctest --test-dir "$build" -j"$(nproc)" --output-on-failure
echo "ARM build and tests: $((SECONDS - start)) s"
