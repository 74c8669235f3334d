#!/bin/sh
# Takes the software-centre screenshot: the built game on a private X screen,
# past the title and the instructions, with a flower grown from each of the
# three starting seeds and one of them selected. Writes packaging/screenshot.png.
# Usage: make-screenshot.sh GAME_BINARY
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --on-display ]; then
    [ $# -eq 1 ] || { echo "usage: make-screenshot.sh GAME_BINARY" >&2; exit 2; }
    exec "$here/../tests/support/with-display.sh" sh "$here/make-screenshot.sh" --on-display "$(readlink -f "$1")"
fi
game=$2

(cd "$here/../assets" && exec env SDL_AUDIODRIVER=dummy "$game") &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Bloomcross' | head -n 1)
sleep 1

# To a world point: one unit is 8 pixels, the ground line is the bottom edge.
move() {
    xdotool mousemove --window "$window" \
        "$(awk -v x="$1" 'BEGIN { printf "%d", 400 + 8 * x }')" \
        "$(awk -v y="$2" 'BEGIN { printf "%d", 600 - 8 * y }')"
    sleep 0.03
}
click() {
    xdotool click 1
    sleep 0.2
}

# A stem drawn up from (x, 1) in a gentle curve until it is 20 units long and
# the flower is finished; the last point is where the flower's head ends up.
stem() {
    awk -v x0="$1" -v bend="$2" 'BEGIN {
        px = x0; py = 1; grown = 0
        for (i = 1; grown < 20.5; i++) {
            x = x0 + bend * sin(i / 8); y = 1 + 0.75 * i
            grown += sqrt((x - px) ^ 2 + (y - py) ^ 2); px = x; py = y
            print x, y
        }
    }'
}

move 0 40; click; click   # the title, then the instructions
for row in "-20 -26 3" "0 0 -3" "20 26 4"; do
    # shellcheck disable=SC2086  # the row's three numbers as arguments
    set -- $row
    move "$1" 10; click   # take the seed
    move "$2" 1; click    # plant it in the mound
    stem "$2" "$3" | while read -r x y; do move "$x" "$y"; done
done
# shellcheck disable=SC2046  # the head's two coordinates as arguments
set -- $(stem -26 3 | tail -n 1)
move "$1" "$2"; click     # select the left flower
move 45 5
sleep 1.5
import -window "$window" -strip -define png:exclude-chunks=date,time PNG24:"$here/screenshot.png"
