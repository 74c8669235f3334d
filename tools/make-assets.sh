#!/bin/sh
# Remakes every file under assets/ from the sources in tools/: the font, the
# pictures, the two sounds and, last, the goal icon drawn by the game's own
# flower drawing. Running it twice gives the same bytes.
#
# Debian packages it needs:
#   python3 python3-cairo python3-numpy   the painting and the synthesis
#   fonts-comfortaa                       the game's font (copied, and used for lettering)
#   lame                                  MP3 encoding of the tune
#   xvfb xauth cmake g++ and the game's build dependencies (freeglut3-dev
#   libglu1-mesa-dev libpng-dev libfreetype-dev libsdl2-mixer-dev)
#                                         for the goal icon; without them a
#                                         stand-in icon is painted instead
#
# Usage: tools/make-assets.sh        (ASSET_BUILD names the build folder for the
#                                     icon renderer, build-assets by default)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
python=${PYTHON:-/usr/bin/python3}
export PYTHONDONTWRITEBYTECODE=1  # leave no caches in the source tree
build=${ASSET_BUILD:-$root/build-assets}
images="$root/assets/images"
audio="$root/assets/audio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

mkdir -p "$images" "$audio"

"$here/copy-font.sh"
"$python" "$here/draw_sprites.py" "$images"
"$python" "$here/draw_screens.py" "$images"

"$python" "$here/synth.py" "$work"
cp "$work/wow.wav" "$audio/wow.wav"
# Constant bit rate, no ReplayGain analysis and no tags: the same bytes each time.
lame --quiet --noreplaygain -q 2 -b 160 --cbr -m j "$work/tune.wav" "$audio/backgroundmusic.mp3"

# The goal icon: the game's own drawing of the goal flower, read back from a
# hidden window on a private X screen.
# An existing build folder is used as it is configured.
configure() {
    [ -f "$build/CMakeCache.txt" ] ||
        cmake -S "$root" -B "$build" -DBLOOMCROSS_TESTS=OFF -DBLOOMCROSS_BENCH=OFF
}
if { configure && cmake --build "$build" --target render_goal_icon -j2; } >"$work/cmake.log" 2>&1; then
    (cd "$root/assets" &&
     xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/render_goal_icon" "$images/target5.png")
else
    echo "make-assets.sh: the icon renderer did not build (see below); painting a stand-in goal icon" >&2
    tail -n 20 "$work/cmake.log" >&2
    "$python" "$here/draw_screens.py" "$images" --goal-icon
fi

# The desktop icons are made from the goal icon, so they follow it.
sh "$here/make-icons.sh"
