#!/usr/bin/env bash
# Under a window manager (openbox), a modal run opened while a stay-on-top window is up stacks above it:
# TForm::ShowModal, MessageBox and the three common dialogs. A bare QDialog::exec(), which skips the
# platform layer, is expected to open below the stay-on-top window; that case shows the check can fail.
set -u
XWIN=$2 OUT=$3
TRYOUT=$(dirname "$XWIN")/stay_on_top_tryout
for tool in xdotool xprop openbox; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
XVFB_SCREEN=1366x768x24
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
HOME=$(mktemp -d) openbox --sm-disable >"$OUT/gui_stay_on_top_modal.openbox.log" 2>&1 &
WM_PID=$!
trap 'kill $WM_PID 2>/dev/null; wait $WM_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null' EXIT
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

# The client windows of the screen, bottom first.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'; }
# The client windows of a process, bottom first, one per line.
windows_of() {
    for w in $(stacking); do
        xprop -id "$w" _NET_WM_PID 2>/dev/null | grep -q "= $1\$" && echo "$w"
    done
}

FAILED=0
for KIND in form message colour font picture plain; do
    "$TRYOUT" "$KIND" >"$OUT/gui_stay_on_top_modal.$KIND.log" 2>&1 &
    PID=$!
    TOP=$("$XWIN" find "stay on top" 15) || { kill $PID; echo "FAIL: $KIND: no stay-on-top window"; FAILED=1; continue; }
    TOP=$(printf '0x%x' "$TOP")
    # Wait for the modal: a second managed window of the process.
    MODAL=
    for _ in $(seq 100); do
        MODAL=$(windows_of $PID | grep -v -x "$TOP" | tail -1)
        [ -n "$MODAL" ] && break
        sleep 0.1
    done
    sleep 0.5
    ORDER=$(windows_of $PID | tr '\n' ' ')
    ROOT=$(xwininfo -root 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$ROOT" ] && "$(dirname "$XWIN")/xshot" "$ROOT" "$OUT/gui_stay_on_top_modal.$KIND.png" 2>/dev/null
    LAST=$(windows_of $PID | tail -1)
    if [ -z "$MODAL" ]; then
        echo "FAIL: $KIND: no modal window appeared"
        FAILED=1
    elif [ "$KIND" = plain ]; then
        # Qt alone leaves the stay-on-top window above the modal.
        [ "$LAST" = "$TOP" ] && echo "ok: plain QDialog stays below ($ORDER)" \
            || echo "note: plain QDialog is on top here too ($ORDER)"
    elif [ "$LAST" != "$MODAL" ]; then
        echo "FAIL: $KIND: the modal $MODAL is below the stay-on-top window $TOP (stacking $ORDER)"
        FAILED=1
    else
        echo "ok: $KIND above the stay-on-top window ($ORDER)"
    fi
    [ -n "$MODAL" ] && "$XWIN" close "$(printf '%d' "$MODAL")" 2>/dev/null
    for _ in $(seq 50); do kill -0 $PID 2>/dev/null || break; sleep 0.1; done
    if kill -0 $PID 2>/dev/null; then
        "$XWIN" close "$(printf '%d' "$TOP")" 2>/dev/null
        sleep 0.5
        kill $PID 2>/dev/null
    fi
    wait $PID 2>/dev/null
done
[ $FAILED -eq 0 ] || exit 1
echo "PASS: every modal run of the platform layer opened above the stay-on-top window"
