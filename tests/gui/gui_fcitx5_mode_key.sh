#!/usr/bin/env bash
# fcitx5 with fcitx5-hangul: 한 composed by fcitx5, the Hangul key switches it to English, and the
# letters it then passes on are typed as they are, not composed again by the program's own composer.
set -u
IM=fcitx5
im_ready() {
    sleep 0.3
    fcitx5_activate || { echo "FAIL: fcitx5 did not switch to Hangul"; cat "$LOG"; exit 1; }
}
. "$(dirname "$0")/mode_key.sh"
