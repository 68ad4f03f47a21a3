#!/usr/bin/env bash
# Renders the program's pictures from the SVG sources beside this script into images/ and icons/
# (and the help pages' copy of the icon).
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert and the Nanum fonts (fonts-nanum).
# The PNGs are committed, so a build never needs these tools; run this after changing a source.
#
#   bash resources/make_images.sh                 render every picture
#   bash resources/make_images.sh --preview F.png also paint a mock of the main window into F.png
set -euo pipefail
cd "$(dirname "$0")"

preview=""
if [ "${1:-}" = "--preview" ]; then
    preview="${2:?--preview needs a file name}"
    case "$preview" in /*) ;; *) preview="$OLDPWD/$preview" ;; esac
fi

for tool in rsvg-convert convert identify; do
    command -v "$tool" >/dev/null || { echo "make_images.sh: $tool is missing" >&2; exit 1; }
done

# rsvg-convert falls back to another face without a word, so make sure the drawings' face is there.
[ -n "$(fc-list NanumSquareRound)" ] || { echo "make_images.sh: the NanumSquareRound font (fonts-nanum) is missing" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The main window paints a vertical gradient from navy (0,0,128) to pale cyan (202,255,255) over its height
# (871 at design). The faces are drawn with a transparent blit keyed on one pixel colour, so each picture's
# background is one solid colour close to the gradient behind the picture's middle row; anti-aliased edges
# blend toward it and no fringe shows.
KEY_CLOUD="22,28,142"       # menu buttons, tops 55..76, middle row about 95 (11 %)
KEY_EFFECT="32,41,148"      # mouse-effect strip under a menu button, middle row about 139 (16 %)
KEY_CLOUD_SMALL="188,237,246" # About and Help at the bottom right, middle rows 786 and 836 (93 %)
KEY_BANNER="172,217,236"    # banner, rows 624..861, middle row 742 (85 %)

# 24-bit RGB without alpha: the source composited over the key colour.
flatten() { # rgba.png key out.png
    convert "$1" -background "rgb($2)" -alpha remove -alpha off -strip \
        -define png:color-type=2 -define png:bit-depth=8 "PNG24:$3"
}

# A keyed picture must be 24-bit and have the key at its corners; and no pixel of the artwork itself (more than
# half covered in the source) may have come out in the key colour, or it would be a hole.
check_keyed() { # png rgba-source key w h
    local png=$1 src=$2 key=$3 w=$4 h=$5
    local size type
    size=$(identify -format '%wx%h' "$png")
    [ "$size" = "${w}x${h}" ] || { echo "$png: size $size, wanted ${w}x${h}" >&2; exit 1; }
    type=$(identify -format '%[channels]' "$png")
    [ "$type" = "srgb" ] || { echo "$png: channels $type, wanted srgb without alpha" >&2; exit 1; }
    for p in "0,0" "0,$((h - 1))"; do
        local c
        c=$(convert "$png" -format "%[fx:int(255*p{$p}.r+.5)],%[fx:int(255*p{$p}.g+.5)],%[fx:int(255*p{$p}.b+.5)]" info:)
        [ "$c" = "$key" ] || { echo "$png: pixel ($p) is $c, wanted the key $key" >&2; exit 1; }
    done
    local holes
    holes=$(convert \( "$png" -fill black +opaque "rgb($key)" -fill white -opaque "rgb($key)" \) \
        \( "$src" -alpha extract -threshold 50% \) -compose multiply -composite \
        -format '%[fx:round(mean*w*h)]' info:)
    [ "$holes" = "0" ] || { echo "$png: $holes pixels of the artwork came out in the key colour" >&2; exit 1; }
}

# Cloud faces. Pressed: the cloud sinks 2.5 px onto its shadow and is about 10 % darker. The small faces sit on the
# pale bottom of the gradient, where their shadow is a mid blue instead of a dark navy.
cloud_variant() { # shadow-colour pressed(yes/no) out.svg
    local dy=0 op=1
    if [ "$2" = yes ]; then dy=2.5 op=0; fi
    sed -e "s|<g id=\"cloud\" transform=\"translate(0 0)\">|<g id=\"cloud\" transform=\"translate(0 $dy)\">|" \
        -e "s|fill=\"#0b1258\" stroke=\"#0b1258\" stroke-width=\"3.2\" opacity=\"1\"|fill=\"$1\" stroke=\"$1\" stroke-width=\"3.2\" opacity=\"$op\"|" \
        cloud.svg >"$3"
    grep -q "translate(0 $dy)" "$3" && grep -q "fill=\"$1\" stroke=\"$1\"" "$3" ||
        { echo "cloud.svg: variant not made (the marked attributes changed?)" >&2; exit 1; }
}
cloud_variant "#0b1258" no "$tmp/cloud-up.svg"
cloud_variant "#0b1258" yes "$tmp/cloud-down.svg"
cloud_variant "#7ea3d3" no "$tmp/cloud-up-small.svg"
cloud_variant "#7ea3d3" yes "$tmp/cloud-down-small.svg"

face() { # svg w h darken key out
    rsvg-convert -w "$2" -h "$3" "$1" -o "$tmp/face.png"
    if [ "$4" = yes ]; then
        # darker toward blue rather than grey, like a cloud in shade
        convert "$tmp/face.png" -channel R -evaluate multiply 0.87 -channel G -evaluate multiply 0.9 \
            -channel B -evaluate multiply 0.96 +channel "$tmp/face.png"
    fi
    flatten "$tmp/face.png" "$5" "$6"
    check_keyed "$6" "$tmp/face.png" "$5" "$2" "$3"
}
face "$tmp/cloud-up.svg" 150 60 no "$KEY_CLOUD" images/CloudUp.png
face "$tmp/cloud-down.svg" 150 60 yes "$KEY_CLOUD" images/CloudDown.png
face "$tmp/cloud-up-small.svg" 100 40 no "$KEY_CLOUD_SMALL" images/CloudUpSmall.png
face "$tmp/cloud-down-small.svg" 100 40 yes "$KEY_CLOUD_SMALL" images/CloudDownSmall.png

face mouse-effect1.svg 99 29 no "$KEY_EFFECT" images/MouseEffect1.png
face mouse-effect2.svg 99 29 no "$KEY_EFFECT" images/MouseEffect2.png

face banner.svg 1025 237 no "$KEY_BANNER" "$tmp/Banner.png"
# The banner is the one large picture of the first paint: kept as an uncompressed 24-bit BMP, which the program
# reads about four times faster than the PNG.
convert "$tmp/Banner.png" -type TrueColor BMP3:images/Banner.bmp

# Keyboard practice. Its window is a gradient from (0,166,166) to (245,245,245) over about 300 rows; the lamp and
# the problem label sit around row 40 (13 %). The lamp is keyed on that colour; the label is copied as it is.
KEY_KEYBOARD="33,177,177"
lamp() { # light mid dark mark out
    local mark=""
    case "$4" in
        O) mark='<circle cx="22.5" cy="22.5" r="8.5"/>' ;;
        X) mark='<path d="M16.5 16.5 L28.5 28.5 M28.5 16.5 L16.5 28.5"/>' ;;
    esac
    sed -e "s|#LIGHT|#$1|" -e "s|#MID|#$2|" -e "s|#DARK|#$3|" -e "s|<!--MARK-->|$mark|" lamp.svg >"$tmp/lamp.svg"
    face "$tmp/lamp.svg" 45 45 no "$KEY_KEYBOARD" "$5"
}
lamp d9ffcf 37b82f 0b5410 O images/GreenImage.png
lamp ffd3ca e0291d 650b07 X images/RedImage.png
lamp fff9c4 efc619 785800 "" images/YellowImage.png
rsvg-convert -w 85 -h 55 exlabel.svg -o "$tmp/exlabel.png"
flatten "$tmp/exlabel.png" "$KEY_KEYBOARD" images/ExLabelImage.png

# Program icon, with alpha.
for s in 16 32 48 64 128 256; do
    rsvg-convert -w "$s" -h "$s" icons/vornix.svg -o "$tmp/icon.png"
    convert "$tmp/icon.png" -strip "PNG32:icons/vornix-$s.png"
done
# The help pages show the icon in their heading.
cp icons/vornix-48.png ../help/vornix.png

echo "make_images.sh: pictures rendered"
[ -n "$preview" ] || exit 0

# Mock of the main window at its design client size 1286 x 871, laid out as the window lays itself out:
# key practice hovered (tinted toward yellow, with the first effect frame), game pressed, Help hovered.
W=1286 H=871
font=/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf
keyed() { # png [im options...]: the picture with its effects applied, its top-left colour made transparent
    local png=$1; shift
    convert "$png" "$@" "$tmp/k.png"
    local tl
    tl=$(convert "$tmp/k.png" -format '%[pixel:p{0,0}]' info:)
    convert "$tmp/k.png" -transparent "$tl" "$tmp/k-$RANDOM$RANDOM.png"
    ls -t "$tmp"/k-*.png | head -1
}
caption() { # w h text
    convert -size "$1x$2" xc:none -font "$font" -pointsize 13 -fill black -gravity center -annotate +0+1 "$3" \
        "$tmp/c-$RANDOM$RANDOM.png"
    ls -t "$tmp"/c-*.png | head -1
}
t=$((W / 3)) g=$(((W / 3 - 150) / 2)) h2=$((H / 2))
banner_left=$(((W - 1025) / 2)) banner_top=$((H - 237 - 10))
help_left=$((W - 100 - 15)) help_top=$((H - 40 - 15)) about_top=$((H - 40 - 15 - 40 - 10))
convert -size "${W}x$((H + 1))" gradient:'rgb(0,0,128)-rgb(202,255,255)' -crop "${W}x${H}+0+0" +repage \
    +antialias -fill yellow -stroke black \
    -draw "polygon 192,$((h2 - 165)) 137,$((h2 - 30)) 150,$((h2 - 30)) 95,$((h2 + 112)) 195,$((h2 - 40)) 182,$((h2 - 40)) 262,$((h2 - 165))" \
    -antialias -stroke none \
    "$(keyed images/CloudUp.png -fill yellow -colorize 20%)" -geometry "+$g+63" -composite \
    "$(caption 150 60 '키보드연습(K)')" -geometry "+$g+63" -composite \
    "$(keyed images/MouseEffect1.png)" -geometry "+$((g + 25))+123" -composite \
    "$(keyed images/CloudUp.png)" -geometry "+$((t + g))+76" -composite \
    "$(caption 150 60 '문장연습(S)')" -geometry "+$((t + g))+76" -composite \
    "$(keyed images/CloudDown.png)" -geometry "+$((2 * t + g))+55" -composite \
    "$(caption 150 60 '타자게임(G)')" -geometry "+$((2 * t + g))+55" -composite \
    "$(keyed images/CloudUpSmall.png)" -geometry "+$help_left+$about_top" -composite \
    "$(caption 100 40 'About..')" -geometry "+$help_left+$about_top" -composite \
    "$(keyed images/CloudUpSmall.png -fill black -colorize 20%)" -geometry "+$help_left+$help_top" -composite \
    "$(caption 100 40 '도움말(H)')" -geometry "+$help_left+$help_top" -composite \
    "$(keyed images/Banner.bmp)" -geometry "+$banner_left+$banner_top" -composite \
    "$preview"
echo "make_images.sh: preview in $preview"
