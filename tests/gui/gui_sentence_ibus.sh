#!/usr/bin/env bash
# Sentence practice typed through ibus-hangul, on a screen large enough for the windows' design sizes
# (skips when ibus or ibus-hangul is missing).
VORNIX_SENTENCE_IME=ibus VORNIX_SENTENCE_NAME=gui_sentence_ibus exec bash "$(dirname "$0")/gui_sentence.sh" "$@"
