#!/usr/bin/env bash
# Builds the kit twice, plainly and with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the main job on the sample device, and runs
# the whole test suite against both builds, and the example tweak against the
# installed tweak SDK.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/run.sh

ctest --test-dir build -j"$(nproc)" --output-on-failure
# The example tweak, built against the installed tweak SDK.
scripts/test-examples.sh build

scripts/setup.sh build-asan -DSBKIT_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan -j"$(nproc)" --output-on-failure
