#!/usr/bin/env bash
# Sentence practice as a person uses it, under a window manager: the main menu's sentence button opens
# the setup dialog, a Korean text is picked for short practice, a line is typed in 2-set keys through the
# program's own composer (or ibus-hangul with VORNIX_SENTENCE_IME=ibus), the speed meter moves, the next
# line comes, and closing stores the line to resume at. Screenshots go to the output folder, at 1366x768
# and (VORNIX_SENTENCE_SCREEN) at a screen large enough for the windows' design sizes.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
SHOT=$(dirname "$XWIN")/xshot
NAME=${VORNIX_SENTENCE_NAME:-gui_sentence}
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
command -v compare >/dev/null || { echo "SKIP: ImageMagick's compare is not installed"; exit 77; }
mkdir -p "$OUT"
LOG=$OUT/$NAME.log
if [ "${VORNIX_SENTENCE_IME:-}" = ibus ]; then
    . "$(dirname "$0")/ibus.sh"
    export QT_IM_MODULE=ibus
else
    export XVFB_SCREEN=${VORNIX_SENTENCE_SCREEN:-1366x768x24}
    . "$(dirname "$0")/xvfb.sh"
    export QT_IM_MODULE=none
    : >"$LOG"
fi
openbox >>"$LOG" 2>&1 &
OPENBOX=$!
DIR=$(mktemp -d)
PID=
finish() {
    [ -n "$PID" ] && kill $PID 2>/dev/null
    kill $OPENBOX 2>/dev/null
    rm -rf "$DIR"
}
if [ "${VORNIX_SENTENCE_IME:-}" = ibus ]; then
    trap 'finish; cleanup' EXIT
else
    trap 'finish; kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null' EXIT
fi
fail() { echo "FAIL: $*"; cat "$LOG"; exit 1; }
for _ in $(seq 30); do xdotool search --class openbox >/dev/null 2>&1 && break; sleep 0.1; done
sleep 0.3

# A program folder of its own with one Korean text, so the text is the list's first item.
cp "$VORNIX" "$DIR/vornix"
cp -r "$(dirname "$VORNIX")/help" "$DIR/help"
mkdir "$DIR/Text"
cp "$(dirname "$0")/../../Text/[한글]속담 모음.txt" "$DIR/Text/"
# Wrong characters in magenta, a colour found nowhere else in the window, so they can be counted.
printf '[SentenceSetup]\nWrongMarkColor=16711935\n' >"$DIR/Zavlin.ini"
"$DIR/vornix" >>"$LOG" 2>&1 &
PID=$!
VORNIX_PID=$PID
MAIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || fail "no main window"
sleep 0.7
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
# The sentence button: the middle third of the client area, 76 px from the top, 150 x 60.
THIRD=$((WIDTH / 3))
xdotool mousemove --window "$MAIN" --sync $((THIRD + (THIRD - 150) / 2 + 75)) 106 click 1
SETUP=$("$XWIN" find "문장연습설정" 10) || fail "the setup dialog did not open"
owned_by "$SETUP" "$MAIN" || fail "the setup dialog is not owned by the main window"
sleep 0.5
"$SHOT" "$SETUP" "$OUT/${NAME}_setup.png"
# The first (only) text, then short practice.
xdotool mousemove --window "$SETUP" --sync 60 38 click 1
sleep 0.3
xdotool mousemove --window "$SETUP" --sync 812 362 click 1
PRACTICE=$("$XWIN" find "문장연습" 10) || fail "the practice window did not open"
# The whole frame, not the client alone, fits the screen's width.
FRAME=$("$XWIN" frame "$PRACTICE" 10) || fail "$FRAME"
read -r FL _ FR _ <<<"$FRAME"
SCREEN_W=$(xwininfo -root | sed -n 's/^ *Width: *//p')
[ "$FL" -ge 0 ] && [ "$FR" -le "$SCREEN_W" ] || fail "the practice window's frame $FL..$FR is off the $SCREEN_W px screen"
sleep 0.3
"$SHOT" "$PRACTICE" "$OUT/${NAME}_start.png"
xdotool windowfocus --sync "$PRACTICE"
sleep 0.4

# 가는 말이 고와야 오는 말이 곱다.  (2-set keys)
xdotool type --delay 90 'rksms akfdl rhdhkdi '
sleep 1.6
"$SHOT" "$PRACTICE" "$OUT/${NAME}_typing.png"
xdotool type --delay 90 'dhsms akfdl rhqek.'
sleep 0.3
"$SHOT" "$PRACTICE" "$OUT/${NAME}_typed.png"
xdotool key Return
sleep 0.8
"$SHOT" "$PRACTICE" "$OUT/${NAME}_next.png"

# The meter's column (176 px wide) moved while typing and holds the final bars after the line.
meter_changed() {
    local n
    n=$(compare -metric AE -extract 176x480+0+0 "$1" "$2" null: 2>&1 | sed 's/ .*//')
    [ "${n%%.*}" -gt 200 ] 2>/dev/null
}
meter_changed "$OUT/${NAME}_start.png" "$OUT/${NAME}_typing.png" || fail "the meter did not move while typing"
meter_changed "$OUT/${NAME}_start.png" "$OUT/${NAME}_next.png" || fail "the meter shows no speed after the line"
# The whole line typed, and not one character marked wrong.
WRONG=$(/usr/bin/convert "$OUT/${NAME}_typed.png" -crop +176+0 +repage -fill black +opaque "rgb(255,0,255)" \
    -fill white -opaque "rgb(255,0,255)" -format "%[fx:round(mean*w*h)]" info:)
[ "$WRONG" = 0 ] || fail "$WRONG pixels of wrong characters in the typed line"
N=$(compare -metric AE -extract 900x400+176+50 "$OUT/${NAME}_typing.png" "$OUT/${NAME}_typed.png" null: 2>&1 | sed 's/ .*//')
[ "${N%%.*}" -gt 300 ] 2>/dev/null || fail "the second half of the line was not typed"
# The text part changed too: the next line replaced the first.
N=$(compare -metric AE -extract 600x300+176+100 "$OUT/${NAME}_start.png" "$OUT/${NAME}_next.png" null: 2>&1 | sed 's/ .*//')
[ "${N%%.*}" -gt 500 ] 2>/dev/null || fail "the next line did not come"

close_dialog "$XWIN" "$PRACTICE" "문장연습" || fail "the practice window did not close"
sleep 0.3
close_window "$XWIN" "$MAIN" $PID || fail "the program did not quit"
wait $PID
STATUS=$?
PID=
[ $STATUS -eq 0 ] || fail "exit status $STATUS"
# Short practice: the next block begins at line 1, and the second run offers to resume there.
LINE=$(sed -n 's/^(한글)속담 모음.txt=//p' "$DIR/Zavlin.ini" | tr -d '\r')
[ "$LINE" = 1 ] || fail "stored resume line \"$LINE\", expected 1 (the line was not typed right)"
echo "PASS: a Korean line typed through ${VORNIX_SENTENCE_IME:-the built-in composer}, the meter moved, the next line came"
