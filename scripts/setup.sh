#!/usr/bin/env bash
# Installs the Debian packages the kit needs (only those missing), then
# configures and builds it. Usage: scripts/setup.sh [build-dir [cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ gobjc++-12 make pkg-config libplist-dev libplist-utils libobjc-12-dev libgnustep-base-dev libgtest-dev libgmock-dev libbenchmark-dev libcurl4-openssl-dev libcpp-httplib-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
