#!/usr/bin/env bash
# Renders the caret icons from their SVG sources (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for name in IDR_BLUE_BOLT IDR_BLUE_BOLT_DOWN; do
    rsvg-convert -w 32 -h 32 "$name.svg" -o "$name.png"
done
rsvg-convert -w 16 -h 16 YouBmp.svg -o YouBmp.png
