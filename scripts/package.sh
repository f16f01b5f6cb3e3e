#!/usr/bin/env bash
# Installs what is missing, builds the kit, and makes its Debian package:
# build/sbkit_<version>_<architecture>.deb. Usage: scripts/package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/setup.sh "$build"
(cd "$build" && cpack -G DEB)
