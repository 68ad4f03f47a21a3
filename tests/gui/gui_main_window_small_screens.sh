#!/usr/bin/env bash
# The main window under a window manager (openbox) on a laptop screen (1366 x 768) and on 1024 x 768:
# the whole frame, title bar included, lies on the screen, centred, and the first paint has its
# background. A second start keeps the stored size (a clamped start does not shrink or grow it).
set -u
VORNIX=$1 XWIN=$2 OUT=$3
for tool in openbox xwininfo; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (packages openbox x11-utils)"; exit 77; }
done
mkdir -p "$OUT"
XSHOT=$(dirname "$XWIN")/xshot

# check_screen WIDTH HEIGHT: one start and close on a screen of that size; fails with a message.
check_screen() (
    SW=$1 SH=$2
    XVFB_SCREEN=${SW}x${SH}x24
    . "$(dirname "$0")/xvfb.sh"
    copy_program "$VORNIX"
    DIR=$PROGRAM_DIR
    WM= PID=
    trap 'kill $PID $WM $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$DIR"' EXIT
    openbox --sm-disable >"$OUT/gui_main_window_small_screens.wm.log" 2>&1 &
    WM=$!
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
    for start in 1 2; do
        "$DIR/vornix" >>"$OUT/gui_main_window_small_screens.log" 2>&1 &
        PID=$!
        WIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || { echo "no main window on ${SW}x$SH"; exit 1; }
        # Measured once the window manager has framed the window and the frame has settled.
        FRAME=$("$XWIN" frame "$WIN" 15) || { echo "$FRAME on ${SW}x$SH (start $start)"; exit 1; }
        read -r left top right bottom <<<"$FRAME"
        INFO=$(xwininfo -id "$WIN")
        WIDTH=$(echo "$INFO" | sed -n 's/^ *Width: *//p')
        HEIGHT=$(echo "$INFO" | sed -n 's/^ *Height: *//p')
        [ $left -ge 0 ] && [ $top -ge 0 ] && [ $right -le $SW ] && [ $bottom -le $SH ] ||
            { echo "frame $left,$top to $right,$bottom is off the ${SW}x$SH screen (start $start)"; exit 1; }
        gap=$(((left - (SW - right)) * (left - (SW - right))))
        [ $gap -le 1 ] || { echo "frame $left..$right is not centred on ${SW} (start $start)"; exit 1; }
        [ $start = 1 ] && FIRST="${WIDTH}x$HEIGHT"
        [ "${WIDTH}x$HEIGHT" = "$FIRST" ] || { echo "second start ${WIDTH}x$HEIGHT, first $FIRST"; exit 1; }
        # Background at the top, the bottom left (under the bolt) and the bottom right corner.
        COLOURS=$("$XSHOT" "$WIN" "$OUT/main_window_${SW}x${SH}.png" 3 3 3 $((HEIGHT - 3)) $((WIDTH - 3)) $((HEIGHT - 3)))
        if echo "$COLOURS" | grep -qx '#000000'; then echo "black background on ${SW}x$SH: $COLOURS"; exit 1; fi
        close_window "$XWIN" "$WIN" $PID || { echo "the program did not quit"; exit 1; }
        wait $PID || { echo "exit status $?"; exit 1; }
        PID=
    done
    grep -q "^\[mainform\]" "$DIR/Zavlin.ini" || { echo "the window size was not saved"; exit 1; }
    # The design size stays stored: the clamped start did not shrink it, nor did the frame grow it.
    grep -qx "width=1286" "$DIR/Zavlin.ini" && grep -qx "height=871" "$DIR/Zavlin.ini" ||
        { echo "stored size changed: $(grep -A2 mainform "$DIR/Zavlin.ini" | tr '\n' ' ')"; exit 1; }
    echo "${SW}x$SH: frame $left,$top to $right,$bottom"
)

: >"$OUT/gui_main_window_small_screens.log"
for screen in "1366 768" "1024 768"; do
    RESULT=$(check_screen $screen) || { echo "FAIL: $RESULT"; exit 1; }
    echo "$RESULT"
done
echo "PASS: the main window fits 1366 x 768 and 1024 x 768 under openbox"
