#!/usr/bin/env bash
# ibus with ibus-hangul: 한 composed by ibus, the Hangul key switches it to English, and the letters it
# then passes on are typed as they are, not composed again by the program's own composer.
set -u
XWIN=$2 OUT=$3
VORNIX=$(dirname "$XWIN")/typing_tryout
LOG=$OUT/gui_ibus_mode_key.log
. "$(dirname "$0")/ibus.sh"

QT_IM_MODULE=ibus VORNIX_DUMP_TYPED=1 "$VORNIX" >"$OUT/gui_ibus_mode_key.out" 2>>"$LOG" &
VORNIX_PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { echo "FAIL: no main window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.5
xdotool type --delay 100 'gks'
sleep 0.2
xdotool key Hangul
sleep 0.2
xdotool type --delay 100 'abc '
sleep 0.5
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_ibus_mode_key.png"
close_window "$XWIN" "$WIN" $VORNIX_PID || { echo "FAIL: the program did not quit"; exit 1; }
wait $VORNIX_PID
STATUS=$?
VORNIX_PID=
TYPED=$(grep -m1 '^typed: ' "$OUT/gui_ibus_mode_key.out" | sed 's/^typed: //')
COMMITTED=$(grep -m1 '^system commits: ' "$OUT/gui_ibus_mode_key.out" | sed 's/^system commits: //')
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$LOG"; exit 1; }
if [ "$TYPED" != "한abc " ] || [ "$COMMITTED" != "한" ]; then
    echo "FAIL: typed \"$TYPED\" with \"$COMMITTED\" committed by ibus, expected \"한abc \" with \"한\""
    cat "$LOG"
    exit 1
fi
echo "PASS: ibus composed \"$COMMITTED\"; typed \"$TYPED\""
