#!/usr/bin/env bash
# Renders the sentence practice window's built-in background, images/SentenceBack.png, from
# sentence-back.svg (needs rsvg-convert from librsvg2-bin and ImageMagick's convert). The PNG is
# committed, so a build never needs these tools; run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
for tool in rsvg-convert convert; do
    command -v "$tool" >/dev/null || { echo "make_sentence_back.sh: $tool is missing" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rsvg-convert -w 256 -h 256 sentence-back.svg -o "$tmp/back.png"
# Opaque 24-bit: the window copies the tile as it is.
convert "$tmp/back.png" -background white -alpha remove -alpha off -strip \
    -define png:color-type=2 -define png:bit-depth=8 PNG24:images/SentenceBack.png
echo "images/SentenceBack.png"
