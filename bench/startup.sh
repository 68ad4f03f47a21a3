#!/usr/bin/env bash
# Whole-process start to the main window shown, and peak memory, under a private Xvfb.
# Usage: bench/startup.sh [build folder] [runs]   (prints median and worst of the runs)
set -u
BUILD=${1:-build} RUNS=${2:-10}
VORNIX=$(readlink -f "$BUILD/vornix") XWIN=$(readlink -f "$BUILD/tests/xwin")
[ -x /usr/bin/time ] || { echo "bench/startup.sh needs /usr/bin/time (Debian package: time)"; exit 1; }
[ -x "$VORNIX" ] && [ -x "$XWIN" ] || { echo "no program in $BUILD: build it first (scripts/setup.sh)"; exit 1; }
. "$(dirname "$0")/../tests/gui/xvfb.sh"
# A program folder of its own, as the whole-program tests use: the build's settings stay as they are.
copy_program "$VORNIX"
DIR=$PROGRAM_DIR
times=() rss=()
for _ in $(seq "$RUNS"); do
    rm -f "$DIR/Zavlin.ini"
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$DIR/rss" "$DIR/vornix" 2>/dev/null &
    PID=$!
    WIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || { echo "no window"; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
    close_window "$XWIN" "$WIN" $PID
    wait $PID
    rss+=($(cat "$DIR/rss"))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
mem=($(printf '%s\n' "${rss[@]}" | sort -n))
echo "start to window shown: median ${sorted[$((RUNS / 2))]} ms, worst ${sorted[$((RUNS - 1))]} ms over $RUNS runs"
echo "peak resident memory: median $((${mem[$((RUNS / 2))]} / 1024)) MB, worst $((${mem[$((RUNS - 1))]} / 1024)) MB"
