#!/bin/sh
# Starts the game as a player would, from FOLDER, and checks that its window
# appears, that it is still running a moment later (it found its font), that
# it runs in the data folder DATA, and that the window shows a picture rather
# than the bare clear colour (it found its images). Uses the X screen in DISPLAY.
# Usage: window_appears.sh FOLDER DATA COMMAND [ARGUMENT...]
set -u
folder=$1
data=$2
shift 2
work=$(mktemp -d)
(cd "$folder" && exec "$@" >"$work/output" 2>&1) &
game=$!
trap 'kill "$game" 2>/dev/null; wait "$game" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    sed 's/^/game: /' "$work/output" >&2
    exit 1
}

# Up to 20 s for the window, giving up as soon as the game has ended.
window=
tries=0
while [ -z "$window" ]; do
    kill -0 "$game" 2>/dev/null || fail "the game ended without showing its window"
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || fail "the game's window did not appear"
    sleep 0.2
    window=$(xdotool search --onlyvisible --name '^Bloomcross' 2>/dev/null | head -n 1)
done
sleep 1
kill -0 "$game" 2>/dev/null || fail "the game stopped after opening its window"
cwd=$(readlink "/proc/$game/cwd")
[ "$cwd" = "$(readlink -f "$data")" ] || fail "the game runs in $cwd, not in $data"
import -window "$window" "$work/window.png" || fail "no screenshot of the window"
spread=$(convert "$work/window.png" -format '%[fx:standard_deviation]' info:)
awk -v spread="$spread" 'BEGIN { exit !(spread > 0.02) }' ||
    fail "the window shows no picture (colour spread $spread)"
echo "window $window up, game running in $cwd"
