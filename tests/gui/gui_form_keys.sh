#!/usr/bin/env bash
# A window with no focusable control (as the keyboard practice window) gets real X keys itself: Tab too,
# a held key's auto-repeat releases are dropped, and a release carries the Shift state of its moment.
set -u
XWIN=$2 OUT=$3
TRYOUT=$(dirname "$XWIN")/stay_on_top_tryout
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
"$TRYOUT" keys >"$OUT/gui_form_keys.out" 2>"$OUT/gui_form_keys.log" &
PID=$!
WIN=$("$XWIN" find "stay on top" 15) || { kill $PID; echo "FAIL: no window"; exit 1; }
xdotool windowfocus --sync "$WIN"
sleep 0.3
xdotool key Tab
# Held long enough to repeat.
xset r on 2>/dev/null
xdotool keydown a
sleep 1.2
xdotool keyup a
# Shift held through the key's release, then Shift let go before it.
xdotool keydown shift keydown b keyup b keyup shift
xdotool keydown shift keydown c keyup shift keyup c
sleep 0.3
close_window "$XWIN" "$WIN" $PID || { kill $PID; echo "FAIL: the window did not close"; exit 1; }
wait $PID
GOT=$(tr '\n' ' ' <"$OUT/gui_form_keys.out")
fail() { echo "FAIL: $*"; echo "keys: $GOT"; exit 1; }
# Tab reached the window, as a key press and its release.
echo "$GOT" | grep -q '^d9 u9 ' || fail "Tab did not reach the window"
# The held A: several presses, one release.
PRESSES=$(grep -c '^d65$' "$OUT/gui_form_keys.out")
RELEASES=$(grep -c '^u65$' "$OUT/gui_form_keys.out")
[ "$RELEASES" = 1 ] || fail "the held key was released $RELEASES times"
[ "$PRESSES" -ge 2 ] || echo "note: the key did not repeat here ($PRESSES press)"
echo "$GOT" | grep -q 'd66S u66S u16' || fail "B released with Shift held did not carry Shift"
echo "$GOT" | grep -q 'd67S u16S* u67 ' || fail "C released after Shift carried Shift"
echo "PASS: Tab, a held key ($PRESSES presses, 1 release) and the Shift state at release"
