#!/usr/bin/env bash
# A syllable composed through ibus-hangul when the user clicks into another typing control of the same
# window: ibus commits it to the first control and then sends the same commit to the second one. It
# must be typed once, into the first control.
set -u
XWIN=$2 OUT=$3
VORNIX=$(dirname "$XWIN")/typing_tryout
LOG=$OUT/gui_ibus_focus.log
. "$(dirname "$0")/ibus.sh"

QT_IM_MODULE=ibus VORNIX_TRYOUT_TWO=1 VORNIX_DUMP_TYPED=1 "$VORNIX" >"$OUT/gui_ibus_focus.out" 2>>"$LOG" &
VORNIX_PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { echo "FAIL: no main window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.5
# 한 still composing in the upper control, then a click into the lower one (the window is 700 high)
# and 글 with a blank typed there.
xdotool type --delay 100 'gks'
sleep 0.3
xdotool mousemove --window "$WIN" 200 600 click 1
sleep 0.5
xdotool type --delay 100 'rmf '
sleep 0.5
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_ibus_focus.png"
close_window "$XWIN" "$WIN" $VORNIX_PID || { echo "FAIL: the program did not quit"; exit 1; }
wait $VORNIX_PID
STATUS=$?
VORNIX_PID=
FIRST=$(grep -m1 '^typed: ' "$OUT/gui_ibus_focus.out" | sed 's/^typed: //')
SECOND=$(grep -m1 '^second: ' "$OUT/gui_ibus_focus.out" | sed 's/^second: //')
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$LOG"; exit 1; }
if [ "$FIRST" != "한" ] || [ "$SECOND" != "글 " ]; then
    echo "FAIL: typed \"$FIRST\" and \"$SECOND\", expected \"한\" and \"글 \""
    cat "$LOG"
    exit 1
fi
echo "PASS: \"$FIRST\" in the first control, \"$SECOND\" in the second"
