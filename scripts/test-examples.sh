#!/usr/bin/env bash
# Installs the tweak SDK from a build into a temporary prefix, as a tweak
# developer installs it, and runs each example's own test against it.
# Usage: scripts/test-examples.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sdk=$(mktemp -d)
trap 'rm -rf "$sdk"' EXIT
cmake --install "$build" --component sdk --prefix "$sdk" >/dev/null
for test in examples/*/test.sh; do
  "$test" "$sdk"
done
