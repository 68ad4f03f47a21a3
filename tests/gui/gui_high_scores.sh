#!/usr/bin/env bash
# Under a window manager (openbox): two games end over a stay-on-top window standing in for the game
# window. The name dialog opens above it; a Korean name typed with the program's own composer (its last
# syllable still being composed at Enter) and then an English one enter the list; the score window shows
# both, and "cscore.dat" holds two records.
set -u
XWIN=$2 OUT=$3
TRYOUT=$(dirname "$XWIN")/score_tryout
XSHOT=$(dirname "$XWIN")/xshot
for tool in xdotool xprop xwininfo openbox; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
XVFB_SCREEN=1366x768x24
. "$(dirname "$0")/xvfb.sh"
mkdir -p "$OUT"
HOME=$(mktemp -d) openbox --sm-disable >"$OUT/gui_high_scores.openbox.log" 2>&1 &
WM_PID=$!
# The program runs from a copy in a folder of its own, where it keeps its score file.
DIR=$(mktemp -d)
cp "$TRYOUT" "$DIR/"
trap 'kill $WM_PID 2>/dev/null; wait $WM_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null; rm -rf "$DIR"' EXIT
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'; }
topmost_of() { # PID: the process's highest managed window
    local last=
    for w in $(stacking); do xprop -id "$w" _NET_WM_PID 2>/dev/null | grep -q "= $1\$" && last=$w; done
    echo "$last"
}
shoot_root() { "$XSHOT" "$(xwininfo -root | awk '/Window id/ {print $4}')" "$1" 2>/dev/null; }

# play NAME-KEYS SCORE LEVEL LANGUAGE TAG: one game's end; the name typed as xdotool key names.
play() {
    local keys=$1 score=$2 level=$3 language=$4 tag=$5
    QT_IM_MODULE=none "$DIR/score_tryout" "$score" "$level" "$language" >"$OUT/gui_high_scores.$tag.out" \
        2>"$OUT/gui_high_scores.$tag.log" &
    local pid=$!
    local name
    name=$("$XWIN" find "이름입력" 15) || { kill $pid; echo "FAIL: $tag: no name dialog"; return 1; }
    sleep 0.5
    local top
    top=$(topmost_of $pid)
    [ "$((top))" = "$name" ] || { kill $pid; echo "FAIL: $tag: the name dialog is not the top window"; return 1; }
    shoot_root "$OUT/gui_high_scores.$tag.name.png"
    xdotool windowfocus --sync "$name"
    sleep 0.3
    xdotool key --delay 40 $keys
    sleep 0.2
    shoot_root "$OUT/gui_high_scores.$tag.typed.png"
    xdotool key Return
    local board
    board=$("$XWIN" find "'Zorbit' 점수판" 15) || { kill $pid; echo "FAIL: $tag: no score window"; return 1; }
    sleep 0.5
    shoot_root "$OUT/gui_high_scores.$tag.board.png"
    "$XSHOT" "$board" "$OUT/gui_high_scores.$tag.window.png"
    close_window "$XWIN" "$board" $pid || { kill $pid; echo "FAIL: $tag: the program did not quit"; return 1; }
    wait $pid
}

# 홍길동 on the 2-set layout: the Hangul key first, then g h d r l f e h d; 동 is still composed at Enter.
play "Hangul g h d r l f e h d" 350 4 korean korean || exit 1
grep -q '^entry: 1 홍길동 350 4 한글 you$' "$OUT/gui_high_scores.korean.out" ||
    { echo "FAIL: first game entered:"; cat "$OUT/gui_high_scores.korean.out"; exit 1; }
[ "$(stat -c %s "$DIR/cscore.dat")" = 91 ] || { echo "FAIL: cscore.dat is not one record"; exit 1; }

play "K i m" 500 2 english english || exit 1
EXPECTED=$'entry: 1 Kim 500 2 영어 you\nentry: 2 홍길동 350 4 한글 -'
[ "$(cat "$OUT/gui_high_scores.english.out")" = "$EXPECTED" ] ||
    { echo "FAIL: second game entered:"; cat "$OUT/gui_high_scores.english.out"; exit 1; }
[ "$(stat -c %s "$DIR/cscore.dat")" = 182 ] || { echo "FAIL: cscore.dat is not two records"; exit 1; }
echo "PASS: both names entered above the stay-on-top window and kept in cscore.dat"
