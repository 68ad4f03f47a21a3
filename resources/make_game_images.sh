#!/usr/bin/env bash
# Renders the typing game's pictures from the SVG sources in game-art/ into images/:
#   GameFigureA.png / GameFigureMaskA.png, GameFigureB.png / GameFigureMaskB.png: the figure's two frames
#     (70 x 84), drawn as mask AND then picture OR over the window colour;
#   GameNormal.png, GameSmile.png: the status bar's 16 x 16 icons (with alpha);
#   GameLives.png: the heart beside the lives bar (with alpha).
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert. The PNGs are committed; run this after
# changing a source.
set -euo pipefail
cd "$(dirname "$0")"

for tool in rsvg-convert convert identify; do
    command -v "$tool" >/dev/null || { echo "make_game_images.sh: $tool is missing" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The game window's colour (button face); half-covered edge pixels are blended toward it so that no dark
# fringe shows around the figure.
FACE="240,240,240"

# Mask: white where the window shows through, black under the figure. Picture: black where the window shows
# through, the figure's colours elsewhere.
sprite() { # svg picture.png mask.png
    rsvg-convert -w 70 -h 84 "$1" -o "$tmp/src.png"
    convert "$tmp/src.png" -alpha extract -threshold 50% -negate -strip \
        -define png:color-type=2 -define png:bit-depth=8 "PNG24:$3"
    convert "$tmp/src.png" -background "rgb($FACE)" -alpha remove -alpha off "$tmp/flat.png"
    convert "$tmp/flat.png" \( "$tmp/src.png" -alpha extract -threshold 50% \) \
        -compose multiply -composite -strip -define png:color-type=2 -define png:bit-depth=8 "PNG24:$2"
    for f in "$2" "$3"; do
        [ "$(identify -format '%wx%h' "$f")" = "70x84" ] || { echo "$f: not 70x84" >&2; exit 1; }
    done
    # The figure must cover something, and the corners must show the window.
    [ "$(convert "$3" -format '%[fx:p{0,0}.r]' info:)" = "1" ] || { echo "$3: corner not white" >&2; exit 1; }
}
sprite game-art/figure-a.svg images/GameFigureA.png images/GameFigureMaskA.png
sprite game-art/figure-b.svg images/GameFigureB.png images/GameFigureMaskB.png

icon() { # svg size out.png
    rsvg-convert -w "$2" -h "$2" "$1" -o "$tmp/icon.png"
    convert "$tmp/icon.png" -strip "PNG32:$3"
}
icon game-art/status-normal.svg 16 images/GameNormal.png
icon game-art/status-smile.svg 16 images/GameSmile.png
icon game-art/lives.svg 24 images/GameLives.png

echo "make_game_images.sh: pictures rendered"
