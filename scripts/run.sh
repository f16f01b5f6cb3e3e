#!/usr/bin/env bash
# Builds the kit and runs its main job on the bundled sample device: badge
# Mail with 3 by name, list the user applications, and show what SpringBoard
# was asked to do.
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
echo
echo "Journal ($device/private/var/sim/journal):"
cat "$device/private/var/sim/journal"
echo
echo '$ springboard -c status'
build/bin/springboard -c status
