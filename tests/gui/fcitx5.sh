# Sourced by the whole-program tests that type through fcitx5 with fcitx5-hangul. Starts a private Xvfb,
# a D-Bus session and fcitx5 with the Hangul input method second in its group (the Hangul key switches
# between English and Hangul), and stops them (and the program in VORNIX_PID) on exit. Needs LOG set to
# a log file; skips (exit 77) when a tool is missing.
for tool in fcitx5 fcitx5-remote dbus-launch xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (packages fcitx5 fcitx5-hangul fcitx5-frontend-qt6 dbus-x11)"; exit 77; }
done
ls /usr/lib/*/fcitx5/hangul.so >/dev/null 2>&1 || { echo "SKIP: fcitx5-hangul is not installed"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so >/dev/null 2>&1 ||
    { echo "SKIP: fcitx5-frontend-qt6 is not installed"; exit 77; }
FCITX_PID=
im_stop() { [ -n "$FCITX_PID" ] && kill $FCITX_PID 2>/dev/null; }
. "$(dirname "${BASH_SOURCE[0]}")/im_session.sh"

mkdir -p "$HOME/.config/fcitx5"
cat >"$HOME/.config/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=hangul

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=hangul
Layout=

[GroupOrder]
0=Default
PROFILE

fcitx5 --disable=all --enable=dbus,dbusfrontend,xcb,keyboard,hangul >>"$LOG" 2>&1 &
FCITX_PID=$!
for _ in $(seq 100); do fcitx5-remote >/dev/null 2>&1 && break; sleep 0.1; done
fcitx5-remote >/dev/null 2>&1 || { echo "FAIL: fcitx5 did not answer"; cat "$LOG"; exit 1; }

# fcitx5_activate: switches the focused control's input context to Hangul (fcitx5 starts it in English).
fcitx5_activate() {
    for _ in $(seq 50); do
        fcitx5-remote -o 2>/dev/null
        [ "$(fcitx5-remote 2>/dev/null)" = 2 ] && return 0
        sleep 0.1
    done
    return 1
}
