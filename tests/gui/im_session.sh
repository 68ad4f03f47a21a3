# Sourced by ibus.sh and fcitx5.sh once their tools are found: a private Xvfb, a fresh HOME and a D-Bus
# session for the input method. On exit it stops the program in VORNIX_PID, then the input method (the
# function im_stop, defined by the sourcing script), the D-Bus session and Xvfb. Needs LOG set to a log file.
. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
mkdir -p "$(dirname "$LOG")"
: >"$LOG"

export HOME=$(mktemp -d)
VORNIX_PID=
cleanup() {
    [ -n "$VORNIX_PID" ] && kill $VORNIX_PID 2>/dev/null
    im_stop
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill $DBUS_SESSION_BUS_PID 2>/dev/null
    kill $XVFB_PID 2>/dev/null
    wait 2>/dev/null
    rm -rf "$HOME"
}
trap cleanup EXIT

eval "$(dbus-launch --sh-syntax)"
