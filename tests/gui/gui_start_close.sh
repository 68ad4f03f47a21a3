#!/usr/bin/env bash
# Starts the program, finds its window by title, closes it as a user would and expects exit status 0.
# It runs on a copy of the program folder: the settings beside the build's program stay as they were.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
BUILD=$(dirname "$VORNIX")
before=$(cat "$BUILD/Zavlin.ini" "$BUILD/cscore.dat" 2>/dev/null | md5sum)
copy_program "$VORNIX"
"$PROGRAM" >"$OUT/gui_start_close.log" 2>&1 &
PID=$!
WIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || { kill $PID; echo "FAIL: no main window"; exit 1; }
sleep 0.3
close_window "$XWIN" "$WIN" $PID || { kill $PID; echo "FAIL: the program did not quit"; exit 1; }
wait $PID
STATUS=$?
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$OUT/gui_start_close.log"; exit 1; }
[ -e "$PROGRAM_DIR/Zavlin.ini" ] || { echo "FAIL: the copy's settings were not written"; exit 1; }
after=$(cat "$BUILD/Zavlin.ini" "$BUILD/cscore.dat" 2>/dev/null | md5sum)
[ "$before" = "$after" ] || { echo "FAIL: the settings or high scores beside the build's program changed"; exit 1; }
echo "PASS: started, closed, exit status 0"
