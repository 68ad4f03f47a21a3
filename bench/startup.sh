#!/usr/bin/env bash
# Whole-process start to the main window shown, and peak memory, under a private Xvfb.
# Usage: bench/startup.sh [build folder] [runs]   (prints median and worst of the runs)
set -u
BUILD=${1:-build} RUNS=${2:-10}
VORNIX=$(readlink -f "$BUILD/vornix") XWIN=$(readlink -f "$BUILD/tests/xwin")
. "$(dirname "$0")/../tests/gui/xvfb.sh"
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"; kill $XVFB_PID 2>/dev/null' EXIT
cp "$VORNIX" "$DIR/vornix"
times=() rss=()
for _ in $(seq "$RUNS"); do
    rm -f "$DIR/Zavlin.ini"
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$DIR/rss" "$DIR/vornix" &
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
