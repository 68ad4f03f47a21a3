#!/usr/bin/env bash
# Sentence practice on a 1024 x 768 screen, narrower than the practice window's design width.
VORNIX_SENTENCE_SCREEN=1024x768x24 VORNIX_SENTENCE_NAME=gui_sentence_small_screen exec bash "$(dirname "$0")/gui_sentence.sh" "$@"
