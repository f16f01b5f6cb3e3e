#!/usr/bin/env bash
# Times SpringBoard asked to delete a large icon layout that holds duplicates,
# with layoutkeeper loaded (which prunes them and writes the layout back),
# against SpringBoard starting and printing its status on the same layout:
# both load the layout at start; the delete adds the walk over SpringBoard's
# state, the pruning, the write and the reload.
#
#   bench/icon_state_delete.sh [build-folder]     (default: build)
#
# The layout has ENTRIES entries (default 20000): pages of 20 icons, one in
# ten a duplicate of an earlier one, a folder of three every fifty. Each run
# starts from a fresh copy of it (the delete rewrites it), the copy inside the
# timed command for both. Each command runs once to warm up, then RUNS times;
# the median wall time is reported. The figures are a report: the script
# exits 0 whatever they are.
set -euo pipefail

BUILD=${1:-build}
RUNS=${RUNS:-11}
ENTRIES=${ENTRIES:-20000}
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $BUILD/bin/springboard && -d $BUILD/device ]] || die "$BUILD/bin/springboard not found: build the project first"
BIN=$(cd "$BUILD/bin" && pwd)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/icon-state-delete.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/timing.sh"

export SBKIT_ROOT=$WORK/device
cp -a "$BUILD/device" "$SBKIT_ROOT"
STATE=$SBKIT_ROOT/private/var/mobile/Library/SpringBoard/IconState.plist
LAYOUT=$WORK/layout.plist

awk -v entries="$ENTRIES" 'function id(i) { return sprintf("com.example.app%05d", i) }
BEGIN {
    print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    print "<plist version=\"1.0\">"
    print "<dict>"
    print "\t<key>buttonBar</key>\n\t<array>"
    for (i = 0; i < 4; i++) printf "\t\t<string>%s</string>\n", id(i)
    print "\t</array>\n\t<key>iconLists</key>\n\t<array>"
    for (i = 4; i < entries; i++) {
        if ((i - 4) % 20 == 0) print (i > 4 ? "\t\t</array>\n" : "") "\t\t<array>"
        if (i % 50 == 0) {
            printf "\t\t\t<dict>\n\t\t\t\t<key>displayName</key>\n\t\t\t\t<string>Folder %d</string>\n", i
            printf "\t\t\t\t<key>iconLists</key>\n\t\t\t\t<array>\n\t\t\t\t\t<array>\n"
            for (k = 0; k < 3; k++) printf "\t\t\t\t\t\t<string>%s.f%d</string>\n", id(i), k
            print "\t\t\t\t\t</array>\n\t\t\t\t</array>\n\t\t\t</dict>"
        } else {
            printf "\t\t\t<string>%s</string>\n", (i % 10 == 0 ? id(i - 37) : id(i))
        }
    }
    print "\t\t</array>\n\t</array>"
    print "\t<key>iconListsVersion</key>\n\t<integer>2</integer>"
    print "</dict>"
    print "</plist>"
}' >"$LAYOUT"

cp "$LAYOUT" "$STATE"
out=$("$BIN/springboard" -c delete-icon-state 2>&1) || die "springboard failed: $out"
[[ -f $STATE ]] || die "the layout was deleted, not pruned: no duplicates found?"
rm -f "$SBKIT_ROOT/private/var/sim/journal"

measure status 0 sh -c 'cp "$1" "$2" && exec "$3" -c status' - "$LAYOUT" "$STATE" "$BIN/springboard"
measure delete 0 sh -c 'cp "$1" "$2" && exec "$3" -c delete-icon-state' - "$LAYOUT" "$STATE" "$BIN/springboard"

echo "layout: $ENTRIES entries, $(wc -c <"$LAYOUT") bytes of XML"
echo "median of $RUNS runs (wall time; processor time):"
printf '  %-36s %8s ms  %8s ms\n' "springboard -c status" "$(ms "$status")" "$(ms "$status_cpu")"
printf '  %-36s %8s ms  %8s ms\n' "springboard -c delete-icon-state" "$(ms "$delete")" "$(ms "$delete_cpu")"
echo
echo "ratio (processor time, then wall time):"
verdict delete/status "$delete_cpu" "$status_cpu" 1.3
verdict delete/status "$delete" "$status" 1.3
exit 0
