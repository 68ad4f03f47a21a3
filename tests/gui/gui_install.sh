#!/usr/bin/env bash
# The program installed as a desktop program: `cmake --install` into a temporary prefix gives the program,
# its sound module, Text/, help/, a desktop entry, the icon in the hicolor theme and AppStream metainfo, which
# the desktop's own validators accept. The installed program runs from a read-only prefix with a fresh HOME:
# a setting changed in the game setup and a game played to the score list leave "Zavlin.ini" and "cscore.dat"
# in the user's data folder and nothing in the prefix.
set -u
VORNIX=$1 XWIN=$2 OUT=$3
BUILD=$(dirname "$VORNIX")
TOOLS=$(dirname "$XWIN")
for tool in xdotool cmake desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$OUT"
LOG=$OUT/gui_install.log
: >"$LOG"
PREFIX=$(mktemp -d)
HOME_DIR=$(mktemp -d)
MOUNTED=
PID=
cleanup() {
    if [ -n "$PID" ]; then
        kill $PID 2>/dev/null
        wait $PID 2>/dev/null
        PID=
    fi
    if [ -n "$MOUNTED" ]; then
        umount "$PREFIX" || umount -l "$PREFIX"
        MOUNTED=
    fi
    chmod -R u+w "$PREFIX" 2>/dev/null
    rm -rf "$PREFIX" "$HOME_DIR"
}
fail() {
    echo "FAIL: $*"
    tail -5 "$LOG"
    cleanup
    exit 1
}

# 1. The install and what a desktop reads from it.
cmake --install "$BUILD" --prefix "$PREFIX" >>"$LOG" 2>&1 || fail "cmake --install failed"
# On Debian with prefix /usr GNUInstallDirs picks lib/<triplet>; under a private prefix it is lib/.
PROGRAM=$(readlink -f "$PREFIX/bin/vornix")
[ -x "$PROGRAM" ] || fail "bin/vornix leads to no program"
for f in libvornix_sound.so Text help/문장연습.htm; do
    [ -e "$(dirname "$PROGRAM")/$f" ] || fail "$f is not installed beside the program"
done
SHARE=$PREFIX/share
DESKTOP=$SHARE/applications/org.example.Vornix.desktop
METAINFO=$SHARE/metainfo/org.example.Vornix.metainfo.xml
desktop-file-validate "$DESKTOP" >>"$LOG" 2>&1 || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$METAINFO" >>"$LOG" 2>&1 || fail "appstreamcli refused the metainfo"
grep -qx 'Name\[ko\]=Vornix 타자연습' "$DESKTOP" || fail "the desktop entry has no Korean name"
grep -qx 'Categories=Education;' "$DESKTOP" || fail "the desktop entry is not in Education"
for size in 16 32 48 64 128 256; do
    icon=$SHARE/icons/hicolor/${size}x$size/apps/org.example.Vornix.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "no ${size}x$size icon"
done
[ -s "$SHARE/icons/hicolor/scalable/apps/org.example.Vornix.svg" ] || fail "no scalable icon"
echo "installed: program, sound module, Text/, help/, desktop entry, icons and metainfo are valid"

# 2. The prefix read-only, for root too: a read-only bind mount; a user who may not mount loses the write bits.
if mount --bind "$PREFIX" "$PREFIX" 2>/dev/null; then
    MOUNTED=1
    mount -o remount,bind,ro "$PREFIX" || fail "the prefix could not be made read-only"
elif [ "$(id -u)" -ne 0 ]; then
    chmod -R a-w "$PREFIX"
fi
if touch "$PREFIX/probe" 2>/dev/null; then
    rm -f "$PREFIX/probe"
    cleanup
    echo "SKIP: the prefix cannot be made read-only here"
    exit 77
fi

XVFB_SCREEN=1366x768x24
. "$(dirname "$0")/xvfb.sh"
WM_PID=
if command -v openbox >/dev/null; then
    HOME=$(mktemp -d) openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    sleep 0.5
fi
trap 'cleanup; [ -z "$WM_PID" ] || kill $WM_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null' EXIT

wait_for() { # seconds command...: until the command succeeds
    local n=$(($1 * 10)); shift
    for _ in $(seq $n); do "$@" && return 0; sleep 0.1; done
    return 1
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
field() { grep '^zorbit: ' "$LOG" | tail -1 | sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }
lives_out() { [ "$(field lives)" = 0 ]; }
first_word() { field words | tr '|' '\n' | grep -m1 -v '^$'; }
has_word() { [ -n "$(first_word)" ]; }
score_above() { [ "$(field score)" -gt "$1" ] 2>/dev/null; }

# 3. The installed program started as the menu starts it, with a fresh HOME.
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$HOME_DIR" VORNIX_GAME_TRACE=1 QT_IM_MODULE=none \
    "$PREFIX/bin/vornix" >>"$LOG" 2>&1 &
PID=$!
MAIN=$("$XWIN" find "타자연습프로그램 -  Vornix v 3.0" 15) || fail "no main window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
third=$((WIDTH / 3))
xdotool mousemove --window "$MAIN" --sync $((2 * third + third / 2)) 85 click 1
SETUP=$("$XWIN" find "'조르비' 설정" 10) || fail "the game button opened no setup dialog"
sleep 0.4
# Settings changed: English words, level 8 (the level group's second column, last row), no sounds.
xdotool mousemove --window "$SETUP" --sync 40 150 click 1
xdotool mousemove --window "$SETUP" --sync 300 113 click 1
xdotool mousemove --window "$SETUP" --sync 212 150 click 1
sleep 0.2
"$TOOLS/xshot" "$SETUP" "$OUT/install_game_setup.png"
xdotool mousemove --window "$SETUP" --sync 237 191 click 1 # 시작(S)
GAME=$("$XWIN" find "조르비  ( Zorbit )" 10) || fail "no game window after Start"
wait_for 10 bash -c "grep -q '^zorbit: ' '$LOG'" || fail "the game shows no board"
[ "$(field level)" = 8 ] || fail "the game started on level $(field level), not 8"
# One word typed, so the score enters the list.
wait_for 10 has_word || fail "no word came on the board"
xdotool type --delay 30 "$(first_word)"
xdotool key space
wait_for 5 score_above 0 || fail "typing \"$(first_word)\" did not score"
wait_for 60 lives_out || fail "the lives did not run out (lives $(field lives))"
NOTICE=$("$XWIN" find "Vornix 타자연습" 10) || fail "no Game Over notice"
wait_for 5 is_active "$NOTICE" || fail "the notice is not the active window"
xdotool key Return
NAME=$("$XWIN" find "이름입력" 10) || fail "no name dialog after the game"
wait_for 5 is_active "$NAME" || fail "the name dialog is not the active window"
xdotool type --delay 40 "Learner"
xdotool key Return
LIST=$("$XWIN" find "'Zorbit' 점수판" 10) || fail "no high-score list after the name"
sleep 0.4
"$TOOLS/xshot" "$LIST" "$OUT/install_scores.png"
"$XWIN" close "$LIST"
sleep 0.3
close_window "$XWIN" "$MAIN" $PID || fail "the program did not quit"
wait $PID
status=$?
PID=
[ $status -eq 0 ] || fail "exit status $status"

# 4. Both files in the data folder, none in the prefix, and no failed save reported.
DATA=$HOME_DIR/.local/share/vornix
grep -q '^start_level=7' "$DATA/Zavlin.ini" 2>/dev/null || fail "the level setting is not in $DATA/Zavlin.ini"
grep -q '^Language=1' "$DATA/Zavlin.ini" || fail "the language setting is not in $DATA/Zavlin.ini"
[ "$(stat -c %s "$DATA/cscore.dat" 2>/dev/null)" = 91 ] || fail "$DATA/cscore.dat does not hold one record"
LEFT=$(find "$PREFIX" -name Zavlin.ini -o -name cscore.dat -o -name '.vornix-probe*')
[ -z "$LEFT" ] || fail "files written into the prefix: $LEFT"
if grep -q "Unable to write\|저장할 수 없습니다" "$LOG"; then fail "a save was refused"; fi
echo "PASS: installed, validated, and run read-only: settings and high scores are in $DATA"
