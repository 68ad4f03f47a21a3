# Sourced by gui_ibus_mode_key.sh and gui_fcitx5_mode_key.sh with IM set to ibus or fcitx5 and im_ready
# defined (waits until the focused window's input context composes Hangul): 한 typed through the input
# method, then the Hangul key, then "abc ", and the program's typed text and the method's commits checked.
XWIN=$2 OUT=$3
VORNIX=$(dirname "$XWIN")/typing_tryout
NAME=gui_${IM}_mode_key
LOG=$OUT/$NAME.log
. "$(dirname "$0")/$IM.sh"

QT_IM_MODULE=$IM VORNIX_DUMP_TYPED=1 "$VORNIX" >"$OUT/$NAME.out" 2>>"$LOG" &
VORNIX_PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { echo "FAIL: no main window"; exit 1; }
xdotool windowfocus --sync "$WIN"
im_ready
xdotool type --delay 100 'gks'
sleep 0.2
xdotool key Hangul
sleep 0.2
xdotool type --delay 100 'abc '
sleep 0.5
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/$NAME.png"
close_window "$XWIN" "$WIN" $VORNIX_PID || { echo "FAIL: the program did not quit"; exit 1; }
wait $VORNIX_PID
STATUS=$?
VORNIX_PID=
TYPED=$(grep -m1 '^typed: ' "$OUT/$NAME.out" | sed 's/^typed: //')
COMMITTED=$(grep -m1 '^system commits: ' "$OUT/$NAME.out" | sed 's/^system commits: //')
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$LOG"; exit 1; }
# 한 must have come from the input method as a commit; the program's own composer would have typed it alone.
if [ "$TYPED" != "한abc " ] || [ "$COMMITTED" != "한" ]; then
    echo "FAIL: typed \"$TYPED\" with \"$COMMITTED\" committed by $IM, expected \"한abc \" with \"한\""
    cat "$LOG"
    exit 1
fi
echo "PASS: $IM composed \"$COMMITTED\"; typed \"$TYPED\""
