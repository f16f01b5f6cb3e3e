#!/usr/bin/env bash
# Times a fresh device for one test against a bare run: `springboard
# --new-root DIR` followed by one run with the extensions loaded, against
# `springboard --no-extensions -c status` on an existing root, both on the
# same disk.
#
#   bench/new_root.sh [build-folder]     (default: build)
#
# Each round runs the bare run, then makes a new root and runs in it; the
# figure is the median over ROUNDS rounds (default 21) of that pair's ratio,
# so that a machine busy with something else slows both sides alike, beside
# `cp -a` of the whole device for scale. The roots go to TMPDIR, or /tmp: set
# it to the disk to measure. The script reports; it exits 0 whatever the
# figures are, and 1 only when the build is missing.
set -euo pipefail

BUILD=${1:-build}
ROUNDS=${ROUNDS:-21}
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $BUILD/bin/springboard && -d $BUILD/device ]] || die "$BUILD/bin/springboard not found: build the project first"
SPRINGBOARD=$(cd "$BUILD/bin" && pwd)/springboard
DEVICE=$(cd "$BUILD/device" && pwd)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/new_root.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/timing.sh"

"$SPRINGBOARD" --new-root "$WORK/existing"

elapsed() { # COMMAND...: its wall time in microseconds
  local t0 t1
  t0=$(now_us)
  "$@" >/dev/null
  t1=$(now_us)
  echo $((t1 - t0))
}

fresh_run() {
  "$SPRINGBOARD" --new-root "$WORK/fresh"
  SBKIT_ROOT=$WORK/fresh "$SPRINGBOARD" -c status
}

copy_run() {
  cp -a "$DEVICE" "$WORK/copy"
  SBKIT_ROOT=$WORK/copy "$SPRINGBOARD" -c status
}

declare -a fresh_ratios=() copy_ratios=() bare_times=() fresh_times=() copy_times=()
for ((round = 0; round <= ROUNDS; round++)); do
  rm -rf "$WORK/fresh" "$WORK/copy"
  bare=$(SBKIT_ROOT=$WORK/existing elapsed "$SPRINGBOARD" --no-extensions -c status)
  fresh=$(elapsed fresh_run)
  copy=$(elapsed copy_run)
  ((round > 0)) || continue # the first round warms the caches
  bare_times+=("$bare")
  fresh_times+=("$fresh")
  copy_times+=("$copy")
  fresh_ratios+=("$(awk -v a="$fresh" -v b="$bare" 'BEGIN { printf "%.4f", a / b }')")
  copy_ratios+=("$(awk -v a="$copy" -v b="$bare" 'BEGIN { printf "%.4f", a / b }')")
done

echo "medians of $ROUNDS rounds, in $WORK's file system:"
echo "  bare run (--no-extensions -c status)  $(ms "$(median "${bare_times[@]}")") ms"
echo "  --new-root, then a run                $(ms "$(median "${fresh_times[@]}")") ms"
echo "  cp -a of the device, then a run       $(ms "$(median "${copy_times[@]}")") ms"
median_of() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'; }
verdict new-root "$(median_of "${fresh_ratios[@]}")" 1 2.0
verdict cp-a "$(median_of "${copy_ratios[@]}")" 1 2.0
