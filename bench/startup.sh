#!/usr/bin/env bash
# Start-up beside an empty Qt window, under a private Xvfb and D-Bus session, runs interleaved: process start
# to the main window shown, the map to the first full paint (the window's middle column as it stays), and
# peak memory; medians of both programs and their ratios.
# Usage: bench/startup.sh [build folder] [runs]
set -u
# A desktop session has a D-Bus session bus, which Qt asks for accessibility and input methods at start.
# Without one, every start of either program would first launch a bus helper and wait for it.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
BUILD=${1:-build} RUNS=${2:-15}
VORNIX=$(readlink -f "$BUILD/vornix") EMPTY=$(readlink -f "$BUILD/bench/empty_window")
PROBE=$(readlink -f "$BUILD/bench/xfirstpaint")
[ -x "$VORNIX" ] && [ -x "$EMPTY" ] && [ -x "$PROBE" ] || { echo "no program in $BUILD: build it first (scripts/setup.sh)"; exit 1; }
. "$(dirname "$0")/../tests/gui/xvfb.sh"
# A program folder of its own, as the whole-program tests use: the build's settings stay as they are.
copy_program "$VORNIX"
DIR=$PROGRAM_DIR
: >"$DIR/vornix.txt"
: >"$DIR/empty.txt"
for _ in $(seq "$RUNS"); do
    rm -f "$DIR/Zavlin.ini"
    "$PROBE" "타자연습프로그램 -  Vornix v 3.0" "$PROGRAM" 2>/dev/null >>"$DIR/vornix.txt" || exit 1
    "$PROBE" "empty window" "$EMPTY" 2>/dev/null >>"$DIR/empty.txt" || exit 1
done
# median FILE COLUMN: the median of one figure over the runs
median() { awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
vs=$(median "$DIR/vornix.txt" 2) vp=$(median "$DIR/vornix.txt" 4) vm=$(median "$DIR/vornix.txt" 6)
es=$(median "$DIR/empty.txt" 2) ep=$(median "$DIR/empty.txt" 4) em=$(median "$DIR/empty.txt" 6)
awk -v vs="$vs" -v vp="$vp" -v vm="$vm" -v es="$es" -v ep="$ep" -v em="$em" -v n="$RUNS" 'BEGIN {
    printf "medians of %d interleaved runs      vornix   empty window   ratio\n", n
    printf "start to window shown (ms)        %8.1f   %12.1f   %5.2fx\n", vs, es, vs / es
    printf "map to first full paint (ms)      %8.1f   %12.1f   %+5.1f ms\n", vp, ep, vp - ep
    printf "peak resident memory (MB)         %8.1f   %12.1f   %5.2fx\n", vm / 1024, em / 1024, vm / em
}'
