#!/usr/bin/env bash
# Times how quickly the tools start and do one small job, against /bin/true:
# runs that hand no object across (radio y, homeprefs KEY, homeprefs -l) load
# no Foundation and should start like iconcount; a change announced with
# string objects, and the scan radio prints, load it.
#
#   bench/startup.sh [build-folder]     (default: build)
#
# Each round runs /bin/true and then each command once; a command's figure is
# the median over ROUNDS rounds (default 41) of its time divided by that
# round's /bin/true, so that a machine busy with something else slows both
# sides of each ratio alike. The figures are a report: the script exits 0
# whatever they are.
set -euo pipefail

BUILD=${1:-build}
ROUNDS=${ROUNDS:-41}
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $BUILD/bin/radio && -d $BUILD/device ]] || die "$BUILD/bin not found: build the project first"
BIN=$(cd "$BUILD/bin" && pwd)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/startup.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/timing.sh"

export SBKIT_ROOT=$WORK/device
cp -a "$BUILD/device" "$SBKIT_ROOT"

commands=("radio y" "homeprefs SBAutoLockTime" "homeprefs -l" "iconcount Mail 3" "indicator -s Airplane"
  "homeprefs -i 60 SBAutoLockTime" "radio")
declare -A ratios
for ((round = 0; round < ROUNDS; round++)); do
  t0=$(now_us)
  /bin/true
  t1=$(now_us)
  base=$((t1 - t0))
  for command in "${commands[@]}"; do
    read -ra words <<<"$command"
    t0=$(now_us)
    "$BIN/${words[0]}" "${words[@]:1}" >/dev/null 2>&1 || true
    t1=$(now_us)
    ratios[$command]+="$(((t1 - t0) * 1000 / base)) "
  done
done

echo "median over $ROUNDS rounds of each command's time over /bin/true's in the same round:"
for command in "${commands[@]}"; do
  # shellcheck disable=SC2086
  printf '  %-34s %6.2fx\n' "$command" "$(awk -v m="$(median ${ratios[$command]})" 'BEGIN { print m / 1000 }')"
done
echo "(target: radio y, homeprefs SBAutoLockTime and homeprefs -l within 3x, as iconcount)"
exit 0
