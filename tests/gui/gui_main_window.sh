#!/usr/bin/env bash
# Starts the program, saves a screenshot of the main menu, opens About with a click, closes it and quits.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
# A program folder of its own, so the size memory of earlier runs plays no part.
copy_program "$VORNIX"
DIR=$PROGRAM_DIR
"$PROGRAM" >"$OUT/gui_main_window.log" 2>&1 &
PID=$!
fail() { echo "FAIL: $*"; kill $PID 2>/dev/null; exit 1; }
WIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || fail "no main window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[ "$WIDTH" = 1286 ] && [ "$HEIGHT" = 871 ] || fail "main window is ${WIDTH}x$HEIGHT, not the design size"
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/main_window.png" || fail "no screenshot of the main window"
# About sits 115 px from the right and 105 px from the bottom of the client area, 100 x 40.
xdotool mousemove --sync $((X + WIDTH - 65)) $((Y + HEIGHT - 85)) click 1
ABOUT=$("$XWIN" find "Vornix v3.0" 10) || fail "About did not open"
sleep 0.3
"$(dirname "$XWIN")/xshot" "$ABOUT" "$OUT/about.png"
close_dialog "$XWIN" "$ABOUT" "Vornix v3.0" || fail "About did not close"
close_window "$XWIN" "$WIN" $PID || fail "the program did not quit"
wait $PID
STATUS=$?
grep -q "^\[mainform\]" "$DIR/Zavlin.ini" || fail "the window size was not saved"
[ $STATUS -eq 0 ] || fail "exit status $STATUS"
echo "PASS: main window shown, About opened and closed, exit status 0"
