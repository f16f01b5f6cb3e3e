#!/usr/bin/env bash
# Fuzzes the kit: builds the harnesses of fuzz/ with clang, libFuzzer and both
# sanitizers in build-fuzz, with the product itself (the device's compiler is
# clang too), then runs each harness, one after another, for the given number
# of seconds (default 60), starting from its seed corpus and its regression
# cases. New inputs collect in build-fuzz/fuzz-runs/<harness>/corpus (kept for
# the next run); the inputs that make a harness fail are saved in
# build-fuzz/fuzz-runs/<harness>/crashes-<date>-<time>/. Exits 1 when a
# harness failed; a file that clang does not build stops it before any run.
# Usage: scripts/fuzz.sh [seconds [harness...]]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then
  echo "usage: $0 [seconds [harness...]]" >&2
  exit 2
fi
shift || true
harnesses=("$@")
((${#harnesses[@]})) || harnesses=(plist icon_state url_escape homeprefs_command_line indicator_command_line object_bridge)

# What configuring the kit needs (the simulation's drawing libraries among it),
# GNUstep Base for the object bridge, and clang with its sanitizer and
# libFuzzer runtimes.
scripts/install_missing.sh cmake g++ make pkg-config libplist-dev libobjc-12-dev libgnustep-base-dev libgtest-dev \
  libcurl4-openssl-dev libcpp-httplib-dev libcairo2-dev libpango1.0-dev libcapstone-dev clang-14 libclang-rt-14-dev

build=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DSBKIT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers product

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
stamp=$(date +%Y%m%d-%H%M%S)
failed=()
for harness in "${harnesses[@]}"; do
  fuzzer=$build/fuzz/${harness}_fuzz
  [ -x "$fuzzer" ] || { echo "no harness named $harness" >&2; exit 2; }
  run=$build/fuzz-runs/$harness
  crashes=$run/crashes-$stamp
  mkdir -p "$run/corpus" "$crashes"
  # A copy of the seeds: the run adds to it, the repository stays as it is.
  cp -n fuzz/corpus/"$harness"/* "$run/corpus/" 2>/dev/null || true
  echo "== $harness: ${seconds} s, log in $run/log"
  # One worker process that is started again after each failure, so that one
  # fault does not hide the others for the rest of the time. An input that
  # takes more than 10 s or 2 GB counts as a failure.
  status=0
  "$fuzzer" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$crashes/" "$run/corpus" "fuzz/regressions/$harness" >"$run/log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^#\([0-9]*\):.*/\1/p' "$run/log" | tail -1)
  found=$(find "$crashes" -type f | wc -l)
  if ((status != 0 || found > 0)); then
    failed+=("$harness")
    echo "   FAILED: ${runs:-?} runs, $found failing inputs in $crashes/"
  else
    rmdir "$crashes"
    echo "   ok: ${runs:-?} runs, $(find "$run/corpus" -type f | wc -l) inputs in the corpus"
  fi
done

if ((${#failed[@]})); then
  echo
  echo "Failed: ${failed[*]}. Each failing input is in $build/fuzz-runs/<harness>/crashes-$stamp/, and"
  echo "the reports are in the log. Replay one with $build/fuzz/<harness>_fuzz FILE; once the fault is"
  echo "mended, add the input to fuzz/regressions/<harness>/ so that the test suite replays it from then on."
  exit 1
fi
