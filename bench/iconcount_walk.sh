#!/usr/bin/env bash
# Times iconcount's deep walk of the user applications folder against a bare
# openat + getdents64 walk (bench/bare_walk.c), the floor, and find(1)
# over the same large generated tree.
#
#   bench/iconcount_walk.sh [build-folder]     (default: build)
#
# The device root is a copy of <build>/device whose
# /private/var/mobile/Applications/ is replaced by several hundred containers
# laid out like a real device's.  Each command runs once to warm up, then RUNS
# times; the median wall time is reported.  The figures are a report: the
# script exits 0 whatever they are.
set -euo pipefail

BUILD=${1:-build}
RUNS=${RUNS:-7}
CONTAINERS=${CONTAINERS:-600}
ICONCOUNT=$BUILD/bin/iconcount
BARE_WALK=$BUILD/bench/bare_walk
me=${0##*/}

die() { echo "$me: $*" >&2; exit 1; }

[[ -x $ICONCOUNT ]] || die "$ICONCOUNT not found or not executable: build the project first (cmake -S . -B $BUILD && cmake --build $BUILD)"
[[ -x $BARE_WALK ]] || die "$BARE_WALK not found or not executable: build the project first"
[[ -d $BUILD/device ]] || die "$BUILD/device not found: build the project first"
ICONCOUNT=$(cd "${ICONCOUNT%/*}" && pwd)/${ICONCOUNT##*/}
BARE_WALK=$(cd "${BARE_WALK%/*}" && pwd)/${BARE_WALK##*/}

# The tree lives in memory (/dev/shm) unless TMPDIR says otherwise: creating
# and removing 100,000 files on a busy disk can take minutes instead of seconds.
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then base=/dev/shm; else base=${TMPDIR:-/tmp}; fi
WORK=$(mktemp -d "$base/iconcount-walk.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
ROOT=$WORK/device
APPS=$ROOT/private/var/mobile/Applications

source "$(dirname "$0")/timing.sh"

# ---------------------------------------------------------------------------
# The tree.

# make_template DIR SIZE: one container (bundle Bundle.app plus the folders
# beside it) of a given size class, 0 small, 1 medium, 2 large.  Files are
# empty, and the containers share them as hard links: a walk reads names and
# file types, not contents.
make_template() {
    local t=$1 size=$2 b=$1/Bundle.app d f l w
    mkdir -p "$b/_CodeSignature" "$t/Documents/Inbox" "$t/Library/Preferences" \
             "$t/Library/Caches/Images" "$t/tmp"
    : >"$b/Bundle"; : >"$b/PkgInfo"; : >"$b/Icon.png"; : >"$b/Default.png"
    : >"$b/embedded.mobileprovision"; : >"$b/ResourceRules.plist"
    : >"$b/_CodeSignature/CodeResources"
    for l in en fr de ja es it nl; do
        mkdir -p "$b/$l.lproj"
        for f in InfoPlist.strings Localizable.strings MainWindow.nib; do : >"$b/$l.lproj/$f"; done
    done
    for d in Buttons Backgrounds Icons Toolbar; do
        mkdir -p "$b/Resources/Images/$d"
        for ((f = 0; f < 6 + 6 * size; f++)); do : >"$b/Resources/Images/$d/image$f.png"; done
    done
    mkdir -p "$b/Resources/Sounds"
    for ((f = 0; f < 8; f++)); do : >"$b/Resources/Sounds/sound$f.caf"; done
    for ((w = 1; w <= 2 + 2 * size; w++)); do
        mkdir -p "$b/Resources/Levels/World$w/Maps"
        for ((l = 1; l <= 8; l++)); do
            : >"$b/Resources/Levels/World$w/level$l.dat"
            : >"$b/Resources/Levels/World$w/Maps/level$l.map"
        done
    done
    for ((f = 0; f < 4 + 4 * size; f++)); do : >"$t/Documents/document$f.db"; done
    : >"$t/Documents/Inbox/attachment.pdf"
    for ((f = 0; f < 10; f++)); do : >"$t/Library/Caches/Images/cache$f.jpg"; done
    : >"$t/tmp/upload.tmp"
    : >"$t/iTunesMetadata.plist"; : >"$t/iTunesArtwork"
}

names=(Weather Notes Blaster Chess Recipes Tracker Radio Budget Flashlight Sudoku
       Translator Camera Puzzle Reader Runner Scanner Podcasts Tides Golf Stars)

generate() {
    local i n guid name id size t0
    t0=$(now_us)
    cp -a "$BUILD/device" "$ROOT"
    rm -rf "$APPS"
    mkdir -p "$APPS" "$WORK/templates"
    for size in 0 1 2; do make_template "$WORK/templates/$size" "$size"; done
    for ((i = 0; i < CONTAINERS; i++)); do
        printf -v guid '%08X-%04X-4%03X-%04X-%012X' \
            $(((i * 2654435761 + 0x5F3A) & 0xFFFFFFFF)) $(((i * 40503) & 0xFFFF)) \
            $(((i * 97) & 0xFFF)) $((0x8000 | ((i * 31) & 0x3FFF))) $((i * 1000003 + 0x1A2B3C))
        n=$((i % ${#names[@]}))
        printf -v name '%s %d' "${names[n]}" "$i"
        id=com.example.bench.${names[n],,}$i
        size=$((i % 3))
        cp -al "$WORK/templates/$size" "$APPS/$guid"
        mv "$APPS/$guid/Bundle.app" "$APPS/$guid/$name.app"
        printf '<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>CFBundleDisplayName</key>
	<string>%s</string>
	<key>CFBundleExecutable</key>
	<string>Bundle</string>
	<key>CFBundleIdentifier</key>
	<string>%s</string>
	<key>CFBundleName</key>
	<string>%s</string>
	<key>CFBundleVersion</key>
	<string>1.%d</string>
</dict>
</plist>
' "$name" "$id" "$name" "$((i % 10))" >"$APPS/$guid/$name.app/Info.plist"
        : >"$APPS/$guid/Library/Preferences/$id.plist"
    done
    GEN_MS=$((($(now_us) - t0) / 1000))
}

generate
bundles=$(find "$APPS/" -iname '*.app' | wc -l)
entries=$(find "$APPS/" -mindepth 1 | wc -l)
echo "device root:  $ROOT (generated in ${GEN_MS} ms)"
echo "tree:         $bundles bundles, $entries entries below /private/var/mobile/Applications/"

export SBKIT_ROOT=$ROOT
listed=$({ "$ICONCOUNT" list 2>/dev/null || true; } | grep -c -v '^User Applications:$' || true)
echo "iconcount:    list prints $listed applications"

echo "bare walk:    $("$BARE_WALK" "$APPS/")"

bare_us='' find_us='' list_us='' miss_us=''
measure bare_us 0 "$BARE_WALK" "$APPS/"
measure find_us 0 find "$APPS/" -iname '*.app'
measure list_us 0 "$ICONCOUNT" list
measure miss_us 255 "$ICONCOUNT" NoSuchApplicationAnywhere 1

echo
printf '  %-48s %11s %11s\n' "median of $RUNS runs (after one warm-up)" wall processor
row() { printf '  %-48s %8s ms %8s ms\n' "$1" "$(ms "$2")" "$(ms "$3")"; }
row "bare walk (openat + getdents64, the floor)" "$bare_us" "$bare_us_cpu"
row "find ... -iname '*.app'" "$find_us" "$find_us_cpu"
row "iconcount list" "$list_us" "$list_us_cpu"
row "iconcount NoSuchApplicationAnywhere 1 (miss)" "$miss_us" "$miss_us_cpu"
echo
echo "ratios of processor time:"
verdict list/bare "$list_us_cpu" "$bare_us_cpu" 1.2
verdict miss/bare "$miss_us_cpu" "$bare_us_cpu" 1.2
echo "ratios of wall time:"
verdict list/bare "$list_us" "$bare_us" 1.2
verdict miss/bare "$miss_us" "$bare_us" 1.2
exit 0
