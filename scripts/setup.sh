#!/usr/bin/env bash
# Installs the Debian packages the kit needs (only those missing), then
# configures and builds it. Usage: scripts/setup.sh [build-dir [cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ gobjc++-12 make pkg-config libplist-dev libplist-utils libobjc-12-dev libgnustep-base-dev libgtest-dev libgmock-dev libbenchmark-dev libcurl4-openssl-dev libcpp-httplib-dev
  dpkg-dev mandoc man-db strace openssl
  libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-noto-color-emoji clang libcapstone-dev)
scripts/install_missing.sh "${packages[@]}"

build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
