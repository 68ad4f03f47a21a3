#!/usr/bin/env bash
# The main window framed by a window manager that started after the window was mapped (a login's autostart
# racing its window manager), many times on 1366 x 768: the frame's title bar ends up on the screen.
# (Started at the very same moment, openbox at times drops the program's map request while it starts itself,
# and the window is never shown; a plain X client fares the same, so that order is not what is tested.)
set -u
VORNIX=$1 XWIN=$2 OUT=$3
RUNS=${VORNIX_RACE_RUNS:-20}
SW=1366 SH=768
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
mkdir -p "$OUT"
XVFB_SCREEN=${SW}x${SH}x24
. "$(dirname "$0")/xvfb.sh"
copy_program "$VORNIX"
WM= PID=
trap 'kill $PID $WM $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$PROGRAM_DIR"' EXIT
LOG=$OUT/gui_main_window_wm_race.log
: >"$LOG"
for run in $(seq "$RUNS"); do
    "$PROGRAM" >>"$LOG" 2>&1 &
    PID=$!
    # The window is on the screen before the window manager, which then frames it where it stands; each run
    # a little later, so the frame arrives at every stage of the program's own placing.
    WIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || { echo "FAIL: no main window (run $run)"; exit 1; }
    sleep "$(((run - 1) % 10 / 10)).$(((run - 1) % 10))"
    openbox --sm-disable >>"$LOG" 2>&1 &
    WM=$!
    FRAME=$("$XWIN" frame "$WIN" 15) || { echo "FAIL: run $run: $FRAME"; exit 1; }
    read -r left top right bottom <<<"$FRAME"
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le $SW ] && [ "$bottom" -le $SH ] ||
        { echo "FAIL: frame $left,$top to $right,$bottom is off the ${SW}x$SH screen (run $run)"; exit 1; }
    close_window "$XWIN" "$WIN" $PID || { echo "FAIL: the program did not quit (run $run)"; exit 1; }
    wait $PID
    PID=
    kill $WM
    wait $WM 2>/dev/null
    WM=
done
echo "PASS: $RUNS starts framed late by a window manager, last frame $left,$top to $right,$bottom"
