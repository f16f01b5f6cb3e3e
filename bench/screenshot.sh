#!/usr/bin/env bash
# Times one screenshot of the sample device after the main job (Mail's badge,
# Stocks' text badge, an Airplane item, airplane mode on), in edit mode too,
# against SpringBoard starting and printing its status, which is the same
# start-up without the drawing.
#
#   bench/screenshot.sh [build-folder]     (default: build)
#
# Each command runs once to warm up, then RUNS times; the median wall time is
# reported. The figures are a report: the script exits 0 whatever they are.
set -euo pipefail

BUILD=${1:-build}
RUNS=${RUNS:-15}
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $BUILD/bin/springboard && -d $BUILD/device ]] || die "$BUILD/bin/springboard not found: build the project first"
BIN=$(cd "$BUILD/bin" && pwd)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/screenshot.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/timing.sh"

export SBKIT_ROOT=$WORK/device
cp -a "$BUILD/device" "$SBKIT_ROOT"
rm -f "$SBKIT_ROOT/private/var/sim/journal" "$SBKIT_ROOT/private/var/sim/springboard.plist"
{ "$BIN/iconcount" Mail 3 && "$BIN/badge" Stocks New && "$BIN/indicator" -s Airplane && "$BIN/radio" y; } >/dev/null

measure status 0 "$BIN/springboard" -c status
measure shot 0 "$BIN/springboard" -c "screenshot $WORK/home.png"
measure edit 0 "$BIN/springboard" -c "edit on; screenshot $WORK/edit.png"

echo "median of $RUNS runs:"
echo "  springboard -c status                   $(ms "$status") ms   (start-up alone)"
echo "  springboard -c 'screenshot FILE'        $(ms "$shot") ms"
echo "  springboard -c 'edit on; screenshot'    $(ms "$edit") ms"
echo "  drawing and writing one picture         $(ms $((shot - status))) ms"
