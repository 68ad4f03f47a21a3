#!/usr/bin/env bash
# Types Korean through a real system input method: ibus with ibus-hangul in Hangul mode, into the
# program's typing control under a private Xvfb. The program prints what was typed when it quits.
set -u
XWIN=$2 OUT=$3
# The typing control in a window of its own.
VORNIX=$(dirname "$XWIN")/typing_tryout
LOG=$OUT/gui_ibus_hangul.log
. "$(dirname "$0")/ibus.sh"

QT_IM_MODULE=ibus VORNIX_DUMP_TYPED=1 "$VORNIX" >"$OUT/gui_ibus_hangul.out" 2>>"$LOG" &
VORNIX_PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { echo "FAIL: no main window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.5
# 한글, a blank that commits it, then 한 left composing: ibus commits it when the window closes.
xdotool type --delay 100 'gksrmf gks'
sleep 0.5
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_ibus_hangul.png"
close_window "$XWIN" "$WIN" $VORNIX_PID || { echo "FAIL: the program did not quit"; exit 1; }
wait $VORNIX_PID
STATUS=$?
VORNIX_PID=
TYPED=$(grep -m1 '^typed: ' "$OUT/gui_ibus_hangul.out" | sed 's/^typed: //')
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$LOG"; exit 1; }
if [ "$TYPED" != "한글 한" ]; then
    echo "FAIL: typed \"$TYPED\", expected \"한글 한\""
    cat "$LOG"
    exit 1
fi
echo "PASS: ibus-hangul typed \"$TYPED\" into the typing control"
