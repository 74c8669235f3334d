#!/bin/sh
# Copies the game's font, Comfortaa Bold from Debian's fonts-comfortaa, to the
# name the game opens, with its licence beside it. The font is used unmodified.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../assets/fonts"
src=/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf
doc=/usr/share/doc/fonts-comfortaa
[ -f "$src" ] || { echo "copy-font.sh: $src missing (apt-get install fonts-comfortaa)" >&2; exit 1; }
mkdir -p "$out"
cp "$src" "$out/rabiohead.ttf"
{
  echo "assets/fonts/rabiohead.ttf is Comfortaa Bold, unmodified, from Debian's"
  echo "fonts-comfortaa package, renamed to the file name the game opens."
  echo
  zcat "$doc/OFL.txt.gz"
} > "$out/LICENSE-Comfortaa.txt"
