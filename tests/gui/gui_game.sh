#!/usr/bin/env bash
# The typing game as a person plays it, from the main menu: an English game on level 1 where a shown word
# is typed and scores; a Korean game typed through the program's own Hangul composer; a game on level 8
# left to run until its last life is gone, ending with the notice, the name entry and the high-score list,
# and back at the main menu.
# The program prints its board to stderr when VORNIX_GAME_TRACE=1, so the script knows which words show.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
TOOLS=$(dirname "$XWIN")
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }
XVFB_SCREEN=1366x768x24
. "$(dirname "$0")/xvfb.sh"
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    trap 'kill $WM_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null' EXIT
    sleep 0.5
fi
mkdir -p "$OUT"
DIR=$(mktemp -d)
cp "$VORNIX" "$DIR/vornix"
cp -r "$(dirname "$VORNIX")/help" "$DIR/help"
LOG=$OUT/gui_game.log
: >"$LOG"
PID=
fail() {
    echo "FAIL: $*"
    tail -5 "$LOG"
    [ -n "$PID" ] && kill $PID 2>/dev/null
    rm -rf "$DIR"
    exit 1
}

# The last board line: "zorbit: level=1 score=0 lives=9 words=a||b|...".
board() { grep '^zorbit: ' "$LOG" | tail -1; }
field() { board | sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }
first_word() { field words | tr '|' '\n' | grep -m1 -v '^$'; }
wait_for() { # seconds command...: until the command succeeds
    local n=$(($1 * 10)); shift
    for _ in $(seq $n); do "$@" && return 0; sleep 0.1; done
    return 1
}
has_word() { [ -n "$(first_word)" ]; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
score_above() { [ "$(field score)" -gt "$1" ] 2>/dev/null; }
# The characters of a UTF-8 text in any locale (${#var} counts bytes without a UTF-8 one): its bytes less
# those that continue a character.
chars() { printf %s "$1" | LC_ALL=C tr -d '\200-\277' | wc -c; }

# The keys of the Korean 2-set layout that type a Hangul text.
hangul_keys() {
    python3 - "$1" <<'EOF'
import sys
cho = "r R s e E f a q Q t T d w W c z x v g".split()
jung = "k o i O j p u P h hk ho hl y n nj np nl b m ml l".split()
jong = [""] + "r R rt s sw sg e f fr fa fq ft fx fv fg a q qt t T d w c z x v g".split()
out = ""
for ch in sys.argv[1]:
    code = ord(ch) - 0xAC00
    if 0 <= code < 11172:
        out += cho[code // 588] + jung[code % 588 // 28] + jong[code % 28]
    else:
        out += ch
print(out)
EOF
}

start_program() {
    VORNIX_GAME_TRACE=1 QT_IM_MODULE=none "$DIR/vornix" >>"$LOG" 2>&1 &
    PID=$!
    MAIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || fail "no main window"
    sleep 0.5
}

# Opens the setup dialog from the main menu's game button and starts with the stored choices.
start_game() { # shot-name
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    local third=$((WIDTH / 3))
    xdotool mousemove --window "$MAIN" --sync $((2 * third + third / 2)) 85 click 1
    SETUP=$("$XWIN" find "'조르비' 설정" 10) || fail "the game button opened no setup dialog"
    sleep 0.4
    "$TOOLS/xshot" "$SETUP" "$OUT/game_setup_$1.png"
    xdotool mousemove --window "$SETUP" --sync 237 191 click 1 # 시작(S)
    GAME=$("$XWIN" find "조르비  ( Zorbit )" 10) || fail "no game window after Start"
    eval "$(xdotool getwindowgeometry --shell "$GAME")"
    [ "$WIDTH" = 633 ] && [ "$HEIGHT" = 434 ] || fail "game window is ${WIDTH}x$HEIGHT, not 633x434"
    # The game window takes the focus itself, its input box ready for typing.
    wait_for 5 is_active "$GAME" || fail "the game window is not the active window after Start"
    sleep 0.3
}

quit_program() {
    close_window "$XWIN" "$MAIN" $PID || fail "the program did not quit"
    wait $PID
    local status=$?
    [ $status -eq 0 ] || fail "exit status $status"
    PID=
}

# 1. English, level 1: type the first word shown.
printf '[clock]\nspeaker_off=1\nstart_level=0\nLanguage=1\nrotation=0\n' >"$DIR/Zavlin.ini"
start_program
start_game english
wait_for 10 has_word || fail "no word came on the board"
WORD=$(first_word)
[[ "$WORD" =~ ^[a-z]+$ ]] || fail "\"$WORD\" is no English word"
xdotool type --delay 40 "$WORD"
xdotool key space
wait_for 5 score_above 0 || fail "typing \"$WORD\" did not score"
SCORE=$((1 + $(chars "$WORD")))
[ "$(field score)" = $SCORE ] || fail "\"$WORD\" scored $(field score), not $SCORE"
sleep 0.3
"$TOOLS/xshot" "$GAME" "$OUT/game_english.png"
import -window root "$OUT/game_english_screen.png" 2>/dev/null
close_dialog "$XWIN" "$GAME" "조르비  ( Zorbit )" || fail "the game window did not close"
quit_program
echo "english game: \"$WORD\" scored"

# 2. Korean, level 2, counter-clockwise: the word typed as 2-set keys, composed by the program itself.
printf '[clock]\nspeaker_off=1\nstart_level=1\nLanguage=0\nrotation=1\n' >"$DIR/Zavlin.ini"
: >"$LOG"
start_program
start_game korean
wait_for 10 has_word || fail "no word came on the Korean board"
WORD=$(first_word)
KEYS=$(hangul_keys "$WORD")
xdotool type --delay 40 "$KEYS"
xdotool key space
wait_for 5 score_above 0 || fail "typing \"$WORD\" as $KEYS did not score"
SCORE=$((3 + $(chars "$WORD")))
[ "$(field score)" = $SCORE ] || fail "\"$WORD\" scored $(field score), not $SCORE"
sleep 0.3
"$TOOLS/xshot" "$GAME" "$OUT/game_korean.png"
close_dialog "$XWIN" "$GAME" "조르비  ( Zorbit )" || fail "the Korean game window did not close"
quit_program
echo "korean game: \"$WORD\" typed as $KEYS scored"

# 3. Level 8 left alone: nine words expire, "Game Over!!!", and the main menu comes back.
printf '[clock]\nspeaker_off=1\nstart_level=7\nLanguage=1\nrotation=0\n' >"$DIR/Zavlin.ini"
: >"$LOG"
start_program
start_game end
wait_for 10 has_word || fail "no word came on the level-8 board"
WORD=$(first_word)
xdotool type --delay 30 "$WORD"
xdotool key space
wait_for 5 score_above 0 || fail "typing \"$WORD\" on level 8 did not score"
lives_out() { [ "$(field lives)" = 0 ]; }
wait_for 40 lives_out || fail "the lives did not run out (lives $(field lives))"
NOTICE=$("$XWIN" find "Vornix 타자연습" 10) || fail "no Game Over notice"
sleep 0.3
"$TOOLS/xshot" "$NOTICE" "$OUT/game_over_notice.png"
import -window root "$OUT/game_over_screen.png" 2>/dev/null
wait_for 5 is_active "$NOTICE" || fail "the notice is not the active window"
xdotool key Return
# The score entered the empty list: the name dialog, then the list with the new entry.
NAME=$("$XWIN" find "이름입력" 10) || fail "no name dialog after the game"
wait_for 5 is_active "$NAME" || fail "the name dialog is not the active window"
sleep 0.3
xdotool type --delay 40 "Tester"
sleep 0.2
"$TOOLS/xshot" "$NAME" "$OUT/game_name.png"
xdotool key Return
LIST=$("$XWIN" find "'Zorbit' 점수판" 10) || fail "no high-score list after the name"
sleep 0.4
"$TOOLS/xshot" "$LIST" "$OUT/game_scores.png"
[ "$(stat -c %s "$DIR/cscore.dat" 2>/dev/null)" = 91 ] || fail "cscore.dat does not hold one record"
close_dialog "$XWIN" "$LIST" "'Zorbit' 점수판" || fail "the high-score list did not close"
wait_for 10 bash -c "! '$XWIN' find '조르비  ( Zorbit )' 0.01 >/dev/null 2>&1" || fail "the game window stayed after the end"
sleep 0.3
"$TOOLS/xshot" "$MAIN" "$OUT/game_back_at_menu.png"
quit_program
echo "level 8: the game ended after the last life; \"Tester\" entered the high-score list"

rm -rf "$DIR"
echo "PASS: English and Korean words typed and scored; a game ran out of lives, a name entered the list"
