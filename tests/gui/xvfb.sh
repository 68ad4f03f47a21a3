# Sourced by the whole-program tests: starts a private Xvfb and stops it on exit.
# Sets DISPLAY; tests skip (exit 77) when Xvfb is missing.
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
# Xvfb picks a free display itself and writes its number to a pipe once it accepts clients, so two suites
# on one machine never share a server, and a server that did not start fails the test at once.
# -noreset: a server resets whenever its last client leaves (a short xprop or xwin call) and, on a busy
# machine, refuses a client that connects meanwhile (the window manager, the program).
XVFB_FIFO=$(mktemp -u)
mkfifo "$XVFB_FIFO"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1600x1200x24}" -nolisten tcp -noreset 3>"$XVFB_FIFO" >/dev/null 2>&1 &
XVFB_PID=$!
XVFB_NUMBER=
read -r -t 15 XVFB_NUMBER <"$XVFB_FIFO" || true
rm -f "$XVFB_FIFO"
if [ -z "$XVFB_NUMBER" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "FAIL: Xvfb did not start" >&2
    kill "$XVFB_PID" 2>/dev/null
    exit 1
fi
XVFB_DISPLAY=:$XVFB_NUMBER
export DISPLAY=$XVFB_DISPLAY QT_QPA_PLATFORM=xcb
PROGRAM_DIR=
trap 'kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null; [ -z "$PROGRAM_DIR" ] || rm -rf "$PROGRAM_DIR"' EXIT

# close_window XWIN WINDOW PID: asks the window to close until its program has quit (a close sent while
# the window is still being set up can go unseen); fails after about seven seconds.
close_window() {
    for _ in $(seq 10); do
        "$1" close "$2" 2>/dev/null
        for _ in $(seq 7); do kill -0 "$3" 2>/dev/null || return 0; sleep 0.1; done
    done
    return 1
}

# close_dialog XWIN WINDOW TITLE: asks a window of a running program to close until no window has that
# title any more; fails after about seven seconds.
close_dialog() {
    for _ in $(seq 10); do
        "$1" close "$2" 2>/dev/null
        for _ in $(seq 7); do "$1" find "$3" 0.01 >/dev/null 2>&1 || return 0; sleep 0.1; done
    done
    return 1
}

XVFB_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# copy_program VORNIX: a program folder of its own (the executable, its sound module, help/ and Text/) in a temporary
# folder, removed on exit, so that a test never reads or writes the settings ("Zavlin.ini") or high
# scores ("cscore.dat") beside the build's program. Sets PROGRAM to the copied executable.
copy_program() {
    PROGRAM_DIR=$(mktemp -d)
    cp "$1" "$PROGRAM_DIR/vornix"
    cp "$(dirname "$1")/libvornix_sound.so" "$PROGRAM_DIR/" 2>/dev/null || true
    [ -d "$(dirname "$1")/help" ] && cp -r "$(dirname "$1")/help" "$PROGRAM_DIR/"
    # The texts that come with the program, not the build folder's, where a learner may have added some.
    cp -r "$XVFB_SOURCE_DIR/Text" "$PROGRAM_DIR/"
    PROGRAM=$PROGRAM_DIR/vornix
}

# owned_by WINDOW OWNER: whether WINDOW is kept above OWNER by the window system (WM_TRANSIENT_FOR).
owned_by() {
    xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -qi "window id # $(printf '0x%x' "$2")\$"
}
