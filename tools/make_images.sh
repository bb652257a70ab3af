#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds every picture of Tobrin and the Fish:
#   assets/images/draw.py   writes the SVG sources (assets/images/*.svg)
#   rsvg-convert            turns each one into resources/images/NAME.png
# then checks the results (sizes, 8-bit RGBA, wave seam, circle frame).
#
# Debian packages needed:
#   librsvg2-bin        rsvg-convert
#   python3             the drawing script (standard library only)
#   fontconfig          fc-list, to find the fonts
#   fonts-leckerli-one  "Leckerli One", the title lettering
#   fonts-reggae        "Reggae One", captions, score digits and labels
#
# The PNGs are committed, so nobody needs this just to play.
set -euo pipefail

cd "$(dirname "$0")/.."
SRC=assets/images
OUT=resources/images

fail() { echo "make_images: $*" >&2; exit 1; }

command -v rsvg-convert >/dev/null 2>&1 ||
    fail "rsvg-convert not found; install it with: apt-get install librsvg2-bin"
command -v python3 >/dev/null 2>&1 ||
    fail "python3 not found; install it with: apt-get install python3"
command -v fc-list >/dev/null 2>&1 ||
    fail "fc-list not found; install it with: apt-get install fontconfig"

need_font() {
    [ -n "$(fc-list "$1" family)" ] ||
        fail "font '$1' not found; install it with: apt-get install $2"
}
need_font "Leckerli One" fonts-leckerli-one
need_font "Reggae One" fonts-reggae

python3 "$SRC/draw.py"

mkdir -p "$OUT"
list=$(python3 "$SRC/draw.py" --list)
count=0
while read -r name w h; do
    [ -n "$name" ] || continue
    [ -f "$SRC/$name.svg" ] || fail "missing source $SRC/$name.svg"
    rsvg-convert -w "$w" -h "$h" -f png -o "$OUT/$name.png.part" \
        "$SRC/$name.svg" || fail "rsvg-convert failed on $SRC/$name.svg"
    mv -f "$OUT/$name.png.part" "$OUT/$name.png"
    echo "made $OUT/$name.png (${w}x${h})"
    count=$((count + 1))
done <<< "$list"

python3 "$SRC/draw.py" --check "$OUT" || fail "the pictures did not pass the check"
echo "make_images: $count pictures in $OUT"

# The desktop icon in the sizes a desktop's icon theme asks for, from the window icon's source,
# and that source itself for any other size.
ICONS=packaging/icons/hicolor
for size in 32 48 64 128 256; do
    mkdir -p "$ICONS/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" -f png -o "$ICONS/${size}x${size}/apps/tobrin.png" \
        "$SRC/tobrin_icon.svg" || fail "rsvg-convert failed on the ${size}px icon"
    echo "made $ICONS/${size}x${size}/apps/tobrin.png"
done
mkdir -p "$ICONS/scalable/apps"
cp "$SRC/tobrin_icon.svg" "$ICONS/scalable/apps/tobrin.svg"
echo "made $ICONS/scalable/apps/tobrin.svg"
