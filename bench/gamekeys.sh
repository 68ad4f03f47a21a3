#!/usr/bin/env bash
# Key press to repainted input box, the game's beside a plain QLineEdit, under a private Xvfb (xcb).
# Usage: bench/gamekeys.sh [build folder] [keys per box] [sound]   ("sound": through the real sound player)
set -u
BUILD=${1:-build} KEYS=${2:-600} SOUND=${3:-}
BENCH=$(readlink -f "$BUILD/bench/bench_gamekeys")
[ -x "$BENCH" ] || { echo "no bench_gamekeys in $BUILD: build it first (scripts/setup.sh)"; exit 1; }
. "$(dirname "$0")/../tests/gui/xvfb.sh"
"$BENCH" "$KEYS" $SOUND
