#!/usr/bin/env bash
# Keyboard practice as a person uses it: the main menu's keyboard button, the setup dialog, OK, then the
# problem shown is typed with xdotool and judged right; a wrong key is judged wrong. The setup button opens
# the dialog again above the stay-on-top practice window, and each of the four layouts is set up and
# practised; a key held down is judged once. Screenshots of the dialog and of the window in each layout go
# to the output folder.
# The window tells the problem on stderr when VORNIX_TRACE_KEYS is set; a person sees none of it.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
command -v xprop >/dev/null || { echo "SKIP: xprop is not installed"; exit 77; }
. "$(dirname "$0")/xvfb.sh"
XSHOT="$(dirname "$XWIN")/xshot"
mkdir -p "$OUT"
DIR=$(mktemp -d)
cp "$VORNIX" "$DIR/vornix"
cp -r "$(dirname "$VORNIX")/help" "$DIR/help"
openbox --config-file /dev/null >/dev/null 2>&1 &
WM=$!
trap 'kill $WM 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null' EXIT
sleep 0.5
LOG="$OUT/gui_keyboard.log"
VORNIX_TRACE_KEYS=1 "$DIR/vornix" >"$LOG" 2>&1 &
PID=$!
fail() { echo "FAIL: $*"; kill $PID 2>/dev/null; rm -rf "$DIR"; exit 1; }

# xdotool's name of the key with a virtual-key code.
keyname() {
    case $1 in
    186) echo semicolon ;; 187) echo equal ;; 188) echo comma ;; 189) echo minus ;; 190) echo period ;;
    191) echo slash ;; 192) echo grave ;; 219) echo bracketleft ;; 220) echo backslash ;;
    221) echo bracketright ;; 222) echo apostrophe ;;
    *) printf "\\x$(printf %x "$1")" | tr 'A-Z' 'a-z' ;;
    esac
}
# find_win TITLE: the window with that title, waiting up to about ten seconds (a search that meets a window
# being destroyed fails and is tried again).
find_win() {
    local id
    for _ in $(seq 20); do
        id=$("$XWIN" find "$1" 0.5 2>/dev/null) && { echo "$id"; return 0; }
    done
    return 1
}
count() { grep -c "^keyboard $1" "$LOG"; }
# The window's lines: "keyboard next problem P shift S key 0 modifiers 0" for each new problem, "keyboard right|
# wrong|skipped problem P shift S key K modifiers M" for each judged release.
# wait_count WHAT N: waits until the log has N lines "keyboard WHAT".
wait_count() {
    for _ in $(seq 50); do [ "$(count "$1")" -ge "$2" ] && return 0; sleep 0.1; done
    return 1
}
# Types the problem now shown and checks it was judged right.
type_problem() {
    local line key shift before
    line=$(grep "^keyboard next" "$LOG" | tail -1)
    key=$(echo "$line" | cut -d' ' -f4)
    shift=$(echo "$line" | cut -d' ' -f6)
    before=$(count right)
    if [ "$shift" = 1 ]; then
        xdotool keydown Shift_L sleep 0.05 keydown "$(keyname "$key")" sleep 0.05 keyup "$(keyname "$key")" sleep 0.05 keyup Shift_L
    else
        xdotool key --delay 80 "$(keyname "$key")"
    fi
    wait_count right $((before + 1)) || fail "the problem $key (Shift $shift) typed as shown was not judged right"
}
# is_above A B: window A is stacked above window B.
is_above() {
    local stack ia=-1 ib=-1 i=0
    stack=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
    for w in $stack; do
        [ $((w)) = $(($1)) ] && ia=$i
        [ $((w)) = $(($2)) ] && ib=$i
        i=$((i + 1))
    done
    [ $ia -gt $ib ] && [ $ib -ge 0 ]
}

WIN=$(find_win "타자연습프로그램 -  Vornix v 3.0") || fail "no main window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$WIN")"
# The keyboard button: a third of the client width, centred, 150 x 60 at top 63.
xdotool mousemove --window "$WIN" --sync $(((WIDTH / 3 - 150) / 2 + 75)) 93 click 1
DLG=$(find_win "키보드 연습설정") || fail "the keyboard button opened no setup dialog"
sleep 0.4
"$XSHOT" "$DLG" "$OUT/keyboard_setup.png"
# A first run: 2-set layout, home row. Alt+Y is OK; its releases reach the new window and are no answers.
xdotool key alt+y
PW=$(find_win "키보드 연습 - 한글 2 벌식: 기본자리") || fail "OK opened no practice window"
wait_count next 1 || fail "no problem was shown"
sleep 0.5
[ "$(count wrong)" = 0 ] || fail "a key of the setup dialog was judged in the practice window"
xdotool windowfocus --sync "$PW" 2>/dev/null
sleep 0.3
for _ in 1 2 3; do type_problem; done
xdotool key space
wait_count wrong 1 || fail "Space was not judged a wrong answer"
sleep 0.4
"$XSHOT" "$PW" "$OUT/keyboard_2set.png"

# A key held down for 1.5 s, with the X server repeating it, is one answer: Space once wrong, the problem
# key once right.
xset r on 2>/dev/null
hold() {
    xdotool keydown "$1"
    sleep 1.5
    xdotool keyup "$1"
    sleep 0.5
}
judged() { echo $(($(count right) + $(count wrong) + $(count skipped))); }
before=$(judged)
hold space
[ "$(judged)" = $((before + 1)) ] || fail "Space held for 1.5 s was judged $(($(judged) - before)) times"
line=$(grep "^keyboard next" "$LOG" | tail -1)
if [ "$(echo "$line" | cut -d' ' -f6)" = 0 ]; then
    before=$(judged) right=$(count right)
    hold "$(keyname "$(echo "$line" | cut -d' ' -f4)")"
    [ "$(judged)" = $((before + 1)) ] && [ "$(count right)" = $((right + 1)) ] ||
        fail "the problem key held for 1.5 s was judged $(($(judged) - before)) times, $(($(count right) - right)) right"
fi

# Item positions in the dialog: the layouts in two columns, the position boxes in two columns.
choose() { # layout-item position
    local lx=$((27 + ($1 / 2) * 206)) ly=$((36 + ($1 % 2) * 24)) px py
    if [ "$2" -le 8 ]; then px=32 py=$((119 + $2 * 20)); else px=218 py=$((153 + ($2 - 9) * 23)); fi
    xdotool mousemove --window "$DLG" --sync $lx $ly click 1
    sleep 0.2
    xdotool mousemove --window "$DLG" --sync $px $py click 1
    sleep 0.2
}
n=0
for setup in "1 8 영문 QWERTY: 특수문자 연습 english" "2 10 한글 3 벌식 3-90 글판: 3-90 글판 - Shift + 글쇠 390" \
    "3 13 한글 3 벌식 소리결 최종글판: 최종글판 - Shift + 왼쪽 세째줄 final"; do
    set -- $setup
    item=$1 pos=$2
    shift 2
    name=${*: -1}
    title="키보드 연습 - ${*:1:$#-1}"
    # The setup button: 100 x 40 at (456, 24).
    xdotool mousemove --window "$PW" --sync 506 44 click 1
    DLG=$(find_win "키보드 연습설정") || fail "the setup button opened no dialog"
    sleep 0.4
    is_above "$DLG" "$PW" || fail "the setup dialog opened behind the practice window"
    choose $item $pos
    [ $n = 0 ] && "$XSHOT" 0 "$OUT/keyboard_setup_over_practice.png"
    xdotool key alt+y
    find_win "$title" >/dev/null || fail "the practice window is not titled \"$title\""
    n=$((n + 1))
    sleep 0.5
    xdotool windowfocus --sync "$PW" 2>/dev/null
    sleep 0.3
    wrong=$(count wrong)
    for _ in 1 2 3; do type_problem; done
    [ "$(count wrong)" = "$wrong" ] || fail "a key was judged wrong in the $name layout"
    sleep 0.4
    "$XSHOT" "$PW" "$OUT/keyboard_$name.png"
done

close_dialog "$XWIN" "$PW" "$title" || fail "the practice window did not close"
sleep 0.3
close_window "$XWIN" "$WIN" $PID || fail "the program did not quit"
wait $PID
STATUS=$?
grep -q "^language=3" "$DIR/Zavlin.ini" && grep -q "^position=13" "$DIR/Zavlin.ini" ||
    fail "the last setup was not stored: $(cat "$DIR/Zavlin.ini")"
rm -rf "$DIR"
[ $STATUS -eq 0 ] || fail "exit status $STATUS"
echo "PASS: keyboard practice set up from the main menu and its own setup button, problems typed and judged in four layouts"
