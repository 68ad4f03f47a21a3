#!/usr/bin/env bash
# ibus with ibus-hangul: 한 composed by ibus, the Hangul key switches it to English, and the letters it
# then passes on are typed as they are, not composed again by the program's own composer.
set -u
IM=ibus
# ibus-hangul starts in Hangul mode: the window only needs its focus.
im_ready() { sleep 0.5; }
. "$(dirname "$0")/mode_key.sh"
