#!/usr/bin/env bash
# Builds the kit and runs its main job on the bundled sample device: badge
# Mail with 3 by name, list the user applications, put a text badge on Stocks,
# add a status-bar item, switch airplane mode on, show what SpringBoard was
# asked to do, and draw the home screen into build/home.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build

device=build/device
unset SBKIT_ROOT  # the tools default to the sample device of the build
rm -f "$device/private/var/sim/journal"

echo '$ iconcount Mail 3'
build/bin/iconcount Mail 3
echo '$ iconcount list'
build/bin/iconcount list
echo '$ badge Stocks New'
build/bin/badge Stocks New
echo '$ indicator -s Airplane'
build/bin/indicator -s Airplane
echo '$ radio y'
build/bin/radio y
echo
echo "Journal ($device/private/var/sim/journal):"
cat "$device/private/var/sim/journal"
echo
echo '$ springboard -c status'
build/bin/springboard -c status
echo
echo '$ springboard -c "screenshot build/home.png"'
build/bin/springboard -c 'screenshot build/home.png'

# How long one screenshot takes: the median of five runs after a warm-up.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
RUNS=5
source bench/timing.sh
measure shot 0 build/bin/springboard -c "screenshot $WORK/home.png"
echo
echo "The home screen: $PWD/build/home.png (one screenshot takes $(ms "$shot") ms, the median of $RUNS runs)"
