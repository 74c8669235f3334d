#!/bin/sh
# Makes the game's desktop icons from the goal flower picture: the flower,
# with its clear margin trimmed, scaled onto a transparent square at each size
# the menus ask for. No time stamps are written, so running it again gives
# the same bytes.
# Usage: make-icons.sh [PICTURE [OUTPUT_FOLDER]]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
picture=${1:-$here/../assets/images/target5.png}
out=${2:-$here/../assets/icons}
[ -f "$picture" ] || { echo "make-icons.sh: $picture missing" >&2; exit 1; }
mkdir -p "$out"
for size in 64 128 256; do
    # The flower fills 15/16 of the square, centred, so it doesn't touch the edges.
    inner=$((size * 15 / 16))
    convert "$picture" -bordercolor none -border 1 -trim +repage \
        -resize "${inner}x${inner}" -background none -gravity center -extent "${size}x${size}" \
        -strip -define png:exclude-chunks=date,time PNG32:"$out/bloomcross-$size.png"
done
