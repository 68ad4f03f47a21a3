#!/usr/bin/env bash
# Starts the program, finds its window by title, closes it as a user would and expects exit status 0.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
"$VORNIX" >"$OUT/gui_start_close.log" 2>&1 &
PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { kill $PID; echo "FAIL: no main window"; exit 1; }
# A close sent while the window is still being set up can go unseen: ask again each second.
for _ in $(seq 10); do
    sleep 0.3
    "$XWIN" close "$WIN" 2>/dev/null
    for _ in $(seq 7); do kill -0 $PID 2>/dev/null || break 2; sleep 0.1; done
done
if kill -0 $PID 2>/dev/null; then kill $PID; echo "FAIL: the program did not quit"; exit 1; fi
wait $PID
STATUS=$?
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$OUT/gui_start_close.log"; exit 1; }
echo "PASS: started, closed, exit status 0"
