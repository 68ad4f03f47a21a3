#!/usr/bin/env bash
# Types Korean through a real system input method: ibus with ibus-hangul in Hangul mode, into the
# program's typing control under a private Xvfb. The program prints what was typed when it quits.
set -u
XWIN=$2 OUT=$3
# The typing control in a window of its own.
VORNIX=$(dirname "$XWIN")/typing_tryout
for tool in ibus ibus-daemon dbus-launch gsettings xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (packages ibus ibus-hangul dbus-x11)"; exit 77; }
done
[ -x /usr/libexec/ibus-engine-hangul ] || [ -x /usr/lib/ibus/ibus-engine-hangul ] ||
    { echo "SKIP: ibus-hangul is not installed"; exit 77; }
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
LOG=$OUT/gui_ibus_hangul.log
: >"$LOG"

export HOME=$(mktemp -d)
IBUS_PID= VORNIX_PID=
cleanup() {
    [ -n "$VORNIX_PID" ] && kill $VORNIX_PID 2>/dev/null
    ibus exit >/dev/null 2>&1
    [ -n "$IBUS_PID" ] && kill $IBUS_PID 2>/dev/null
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill $DBUS_SESSION_BUS_PID 2>/dev/null
    kill $XVFB_PID 2>/dev/null
    wait 2>/dev/null
    rm -rf "$HOME"
}
trap cleanup EXIT

eval "$(dbus-launch --sh-syntax)"
gsettings set org.freedesktop.ibus.engine.hangul initial-input-mode hangul 2>>"$LOG"
ibus-daemon --replace --panel disable >>"$LOG" 2>&1 &
IBUS_PID=$!
for _ in $(seq 100); do ibus list-engine >/dev/null 2>&1 && break; sleep 0.1; done
ibus list-engine >/dev/null 2>&1 || { echo "FAIL: ibus-daemon did not answer"; cat "$LOG"; exit 1; }
ibus engine hangul 2>>"$LOG" || { echo "FAIL: no hangul engine"; cat "$LOG"; exit 1; }

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
