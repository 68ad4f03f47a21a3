# Sourced by the whole-program tests that type through a real system input method. Starts a private
# Xvfb, a D-Bus session and ibus-daemon with ibus-hangul in Hangul mode, and stops them (and the program
# in VORNIX_PID) on exit. Needs LOG set to a log file; skips (exit 77) when a tool is missing.
for tool in ibus ibus-daemon dbus-launch gsettings xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (packages ibus ibus-hangul dbus-x11)"; exit 77; }
done
[ -x /usr/libexec/ibus-engine-hangul ] || [ -x /usr/lib/ibus/ibus-engine-hangul ] ||
    { echo "SKIP: ibus-hangul is not installed"; exit 77; }
IBUS_PID=
im_stop() {
    ibus exit >/dev/null 2>&1
    [ -n "$IBUS_PID" ] && kill $IBUS_PID 2>/dev/null
}
. "$(dirname "${BASH_SOURCE[0]}")/im_session.sh"
gsettings set org.freedesktop.ibus.engine.hangul initial-input-mode hangul 2>>"$LOG"
ibus-daemon --replace --panel disable >>"$LOG" 2>&1 &
IBUS_PID=$!
for _ in $(seq 100); do ibus list-engine >/dev/null 2>&1 && break; sleep 0.1; done
ibus list-engine >/dev/null 2>&1 || { echo "FAIL: ibus-daemon did not answer"; cat "$LOG"; exit 1; }
ibus engine hangul 2>>"$LOG" || { echo "FAIL: no hangul engine"; cat "$LOG"; exit 1; }
