#!/usr/bin/env bash
# Times one homeprefs set on a large preferences file against plistutil
# converting the same file from XML to binary: both read the whole property
# list, build it in memory and write it out again.  (Asked for XML to XML,
# plistutil copies the bytes without parsing them, which would time a copy.)
#
#   bench/homeprefs_set.sh [build-folder]     (default: build)
#
# The device root is a copy of <build>/device whose SpringBoard preferences are
# replaced by KEYS generated entries of mixed types (numbers, reals, strings,
# booleans, short arrays and dictionaries).  Each command runs once to warm up,
# then RUNS times; the median wall time is reported.  The figures are a
# report: the script exits 0 whatever they are.
set -euo pipefail

BUILD=${1:-build}
RUNS=${RUNS:-15}
KEYS=${KEYS:-10000}
HOMEPREFS=$BUILD/bin/homeprefs
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $HOMEPREFS ]] || die "$HOMEPREFS not found or not executable: build the project first (cmake -S . -B $BUILD && cmake --build $BUILD)"
[[ -d $BUILD/device ]] || die "$BUILD/device not found: build the project first"
command -v plistutil >/dev/null || die "plistutil not found: install libplist-utils (scripts/setup.sh does)"
HOMEPREFS=$(cd "${HOMEPREFS%/*}" && pwd)/${HOMEPREFS##*/}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/homeprefs-set.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "$0")/timing.sh"

ROOT=$WORK/device
PREFS=$ROOT/private/var/mobile/Library/Preferences/com.apple.springboard.plist
cp -a "$BUILD/device" "$ROOT"
rm -f "$ROOT/private/var/sim/journal"

awk -v keys="$KEYS" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    print "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"
    print "<plist version=\"1.0\">"
    print "<dict>"
    for (i = 0; i < keys; i++) {
        printf "\t<key>SBBenchKey%05d</key>\n", i
        kind = i % 6
        if (kind == 0) printf "\t<integer>%d</integer>\n", i * 37
        else if (kind == 1) printf "\t<real>%.4f</real>\n", i / 7
        else if (kind == 2) printf "\t<string>com.example.bench.value%d</string>\n", i
        else if (kind == 3) print (i % 4 ? "\t<true/>" : "\t<false/>")
        else if (kind == 4) printf "\t<array>\n\t\t<string>com.example.a%d</string>\n\t\t<string>com.example.b%d</string>\n\t</array>\n", i, i
        else printf "\t<dict>\n\t\t<key>Count</key>\n\t\t<integer>%d</integer>\n\t\t<key>Name</key>\n\t\t<string>Item %d</string>\n\t</dict>\n", i, i
    }
    print "</dict>"
    print "</plist>"
}' >"$PREFS"

export SBKIT_ROOT=$ROOT
echo "preferences:  $KEYS keys, $(wc -c <"$PREFS") bytes of XML"
set_out=$("$HOMEPREFS" -i 5 SBBenchKey00003 2>&1) || die "homeprefs failed: $set_out"
echo "homeprefs:    $set_out"

set_us='' convert_us=''
measure set_us 0 "$HOMEPREFS" -i 5 SBBenchKey00003
measure convert_us 0 plistutil -i "$PREFS" -o "$WORK/converted.plist" -f bin

echo
echo "median wall time of $RUNS runs (after one warm-up):"
printf '  %-48s %8s ms\n' "homeprefs -i 5 SBBenchKey00003" "$(ms "$set_us")"
printf '  %-48s %8s ms\n' "plistutil -i prefs -o out -f bin" "$(ms "$convert_us")"
echo
echo "ratio:"
verdict set/convert "$set_us" "$convert_us" 1.5
exit 0
