#!/usr/bin/env bash
# Types into an edit box through ibus-hangul as a fast player types in the game: the next word's first
# syllable is begun while the blank that ends a word is still held down, so the box is cleared while that
# syllable is being composed. The syllable must come through whole. Then F2 commits what is composed.
set -u
XWIN=$2 OUT=$3
TRYOUT=$(dirname "$XWIN")/edit_tryout
LOG=$OUT/gui_edit_ibus.log
. "$(dirname "$0")/ibus.sh"

QT_IM_MODULE=ibus "$TRYOUT" >"$OUT/gui_edit_ibus.out" 2>>"$LOG" &
VORNIX_PID=$!
WIN=$("$XWIN" find "Vornix 입력상자" 15) || { echo "FAIL: no window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.5
xdotool type --delay 100 'gks'
xdotool keydown space
sleep 0.1
xdotool type --delay 100 'rk'
xdotool keyup space
sleep 0.1
xdotool type --delay 100 's'
xdotool key space
sleep 0.2
xdotool type --delay 100 'dkdl'
sleep 0.3
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_edit_ibus.composing.png" 2>/dev/null
xdotool key F2
sleep 0.3
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_edit_ibus.png" 2>/dev/null
close_window "$XWIN" "$WIN" $VORNIX_PID || { echo "FAIL: the program did not quit"; exit 1; }
wait $VORNIX_PID
VORNIX_PID=
GOT=$(tr '\n' '|' <"$OUT/gui_edit_ibus.out")
EXPECTED="word: 한|word: 간|completed: 아이|"
if [ "$GOT" != "$EXPECTED" ]; then
    echo "FAIL: got \"$GOT\", expected \"$EXPECTED\""
    cat "$LOG"
    exit 1
fi
echo "PASS: a clear left the started syllable alone; F2 committed the last one ($GOT)"
