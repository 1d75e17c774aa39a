#!/usr/bin/env bash
# Draws the launcher's own pictures with ImageMagick:
#   resources/images/{minimum,maximum,normal,close}_white.png  white 32 x 32 title-bar glyphs
#   resources/images/*_white@2x.png                            the same at 64 x 64, which Qt
#                                                              picks on screens scaled above 100 %
#   customization/Nav.png                                      1024 x 600 loading picture
#   customization/Tessan.ico                                   logo, 64/48/32/16 pixels
#   packaging/icons/model-series-<size>.png                    application icon, rendered
#   packaging/windows/model-series.ico                         from packaging/icons/model-series.svg
# The results are committed; run this again after changing a drawing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
images=$root/resources/images
custom=$root/customization
mkdir -p "$images" "$custom"

# Strip time stamps and text chunks so that a redraw of an unchanged picture
# gives the same bytes.
png_out() { echo "-strip -define png:exclude-chunks=date,time PNG32:$1"; }

glyph() { # name, draw commands in 32 x 32 coordinates
    # shellcheck disable=SC2046
    convert -size 32x32 xc:none -fill none -stroke white -strokewidth 2 \
        -draw "$2" $(png_out "$images/$1_white.png")
    # The same drawing at twice the resolution (every coordinate doubled), not
    # an enlarged picture.
    local doubled
    doubled=$(perl -pe 's/(\d+(?:\.\d+)?)/$1 * 2/ge' <<<"$2")
    # shellcheck disable=SC2046
    convert -size 64x64 xc:none -fill none -stroke white -strokewidth 4 \
        -draw "$doubled" $(png_out "$images/$1_white@2x.png")
}

glyph minimum "line 8,16.5 24,16.5"
glyph maximum "rectangle 8.5,8.5 23.5,23.5"
# Restore: a window in front of another one. The back window's corner is made
# of single lines: ImageMagick closes a stroked polyline or path.
glyph normal "stroke-linecap square line 12.5,9.5 12.5,6.5 line 12.5,6.5 25.5,6.5 line 25.5,6.5 25.5,19.5 line 25.5,19.5 22.5,19.5 rectangle 6.5,12.5 19.5,25.5"
glyph close "line 9,9 23,23 line 23,9 9,23"

# ---- Loading picture: a dark mixing surface seen from the front -----------
cyan='rgb(69,255,247)'
strips=16
strip_w=52
gap=8
left=$(((1024 - strips * strip_w - (strips - 1) * gap) / 2))
levels=(62 48 71 55 80 39 66 58 44 75 52 69 35 60 77 50)
faders=(58 40 66 52 72 36 60 50 46 68 54 62 30 56 70 44)

draw=()
for ((i = 0; i < strips; i++)); do
    x=$((left + i * (strip_w + gap)))
    cx=$((x + strip_w / 2))
    # strip body and its channel label plate
    draw+=(-fill 'rgb(44,46,51)' -stroke 'rgb(60,62,68)' -strokewidth 1
        -draw "roundrectangle $x,40 $((x + strip_w)),452 6,6")
    draw+=(-fill 'rgb(30,31,35)' -stroke none -draw "rectangle $((x + 6)),50 $((x + strip_w - 6)),62")
    # two knobs with a pointer
    for ky in 92 140; do
        draw+=(-fill 'rgb(24,25,28)' -stroke 'rgb(96,99,106)' -strokewidth 2
            -draw "circle $cx,$ky $((cx + 13)),$ky")
        draw+=(-stroke "$cyan" -strokewidth 2
            -draw "line $cx,$ky $((cx - 6 + (i * 5 + ky) % 13)),$((ky - 10))")
    done
    # level meter beside the fader slot
    mtop=190
    mbottom=430
    lit=$((mbottom - (mbottom - mtop) * levels[i] / 100))
    draw+=(-stroke none -fill 'rgb(22,40,42)' -draw "rectangle $((x + 8)),$mtop $((x + 13)),$mbottom")
    draw+=(-fill "$cyan" -draw "rectangle $((x + 8)),$lit $((x + 13)),$mbottom")
    # fader slot and cap
    draw+=(-fill 'rgb(16,16,18)' -draw "rectangle $((cx + 4)),$mtop $((cx + 8)),$mbottom")
    cap=$((mbottom - (mbottom - mtop) * faders[i] / 100))
    draw+=(-fill 'rgb(170,173,180)' -stroke 'rgb(60,62,68)' -strokewidth 1
        -draw "roundrectangle $((cx - 8)),$((cap - 11)) $((cx + 20)),$((cap + 11)) 3,3")
    draw+=(-stroke 'rgb(30,31,35)' -strokewidth 2 -draw "line $((cx - 6)),$cap $((cx + 18)),$cap")
done
# master section accent line and a soft floor under the surface
draw+=(-stroke none -fill "$cyan" -draw "rectangle $left,466 $((1024 - left)),468")

# shellcheck disable=SC2046
convert -size 1024x600 gradient:'rgb(38,39,43)-rgb(18,18,20)' \
    "${draw[@]}" $(png_out "$custom/Nav.png")

# ---- Logo: three faders on a dark rounded tile ----------------------------
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
logo=(-fill 'rgb(40,42,47)' -stroke 'rgb(69,255,247)' -strokewidth 8
    -draw "roundrectangle 8,8 247,247 40,40")
for x in 72 128 184; do
    logo+=(-stroke none -fill 'rgb(14,14,16)' -draw "rectangle $((x - 5)),48 $((x + 5)),208")
done
logo+=(-fill 'rgb(69,255,247)' -draw "roundrectangle 50,150 94,176 6,6"
    -draw "roundrectangle 106,80 150,106 6,6" -draw "roundrectangle 162,118 206,144 6,6")
convert -size 256x256 xc:none "${logo[@]}" PNG32:"$tmp/logo.png"
convert "$tmp/logo.png" -define icon:auto-resize=64,48,32,16 "$custom/Tessan.ico"

# ---- Application icon: the same logo as a scalable drawing ----------------
icons=$root/packaging/icons
ico_sizes=()
for size in 16 22 24 32 48 64 128 256 512; do
    rsvg-convert -w "$size" -h "$size" "$icons/model-series.svg" -o "$tmp/icon-$size.png"
    # shellcheck disable=SC2046
    convert "$tmp/icon-$size.png" $(png_out "$icons/model-series-$size.png")
    case $size in 16 | 24 | 32 | 48 | 64 | 256) ico_sizes+=("$tmp/icon-$size.png") ;; esac
done
convert "${ico_sizes[@]}" "$root/packaging/windows/model-series.ico"

echo "drawn: $images/*_white.png, $custom/Nav.png, $custom/Tessan.ico," \
    "$icons/model-series-*.png, packaging/windows/model-series.ico"
