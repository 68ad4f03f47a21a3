#!/usr/bin/env bash
# Types Korean with the program's own composer (no system input method), switches to English with
# Right Alt pressed alone and back with the Hangul key, and checks what the typing control received.
set -u
XWIN=$2 OUT=$3
# The typing control in a window of its own.
VORNIX=$(dirname "$XWIN")/typing_tryout
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
QT_IM_MODULE=none VORNIX_DUMP_TYPED=1 "$VORNIX" >"$OUT/gui_typing_own_hangul.out" 2>"$OUT/gui_typing_own_hangul.log" &
PID=$!
WIN=$("$XWIN" find "Vornix 타자연습" 15) || { kill $PID; echo "FAIL: no main window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.3
xdotool type --delay 30 'gksrmf'
xdotool key --delay 30 Alt_R
xdotool type --delay 30 ' Abc '
xdotool key --delay 30 Hangul
# Shift+r is the double consonant whatever Caps Lock says; the last syllable commits on close.
xdotool type --delay 30 'Rk'
sleep 0.3
"$(dirname "$XWIN")/xshot" "$WIN" "$OUT/gui_typing_own_hangul.png"
close_window "$XWIN" "$WIN" $PID || { kill $PID; echo "FAIL: the program did not quit"; exit 1; }
wait $PID
STATUS=$?
[ $STATUS -eq 0 ] || { echo "FAIL: exit status $STATUS"; cat "$OUT/gui_typing_own_hangul.log"; exit 1; }
TYPED=$(grep -m1 '^typed: ' "$OUT/gui_typing_own_hangul.out" | sed 's/^typed: //')
[ "$TYPED" = "한글 Abc 까" ] || { echo "FAIL: typed \"$TYPED\", expected \"한글 Abc 까\""; exit 1; }
echo "PASS: typed \"$TYPED\""
