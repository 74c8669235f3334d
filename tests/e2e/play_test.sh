#!/bin/bash
# A whole game as a player plays it: title, instructions, carrying, planting,
# growing, selecting, breeding to the goal, the won screen, a new game, and
# closing the window. Usage: play_test.sh GAME FIXED_TIME_LIB PLANNER CLOSER SOURCE_DIR
set -u
game=$1
fixed_time=$2
planner=$3
closer=$4
source_dir=$5
. "$source_dir/tests/e2e/driver.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SHOT=$work/shot.png
FAILED_SHOT=/tmp/bloomcross-play-failed.png
font=$source_dir/assets/fonts/rabiohead.ttf
[ -f "$font" ] || font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
make_plain_assets "$work/game" "$font"

plan=$("$planner") || fail "no breeding plan"
seed=$(echo "$plan" | awk '/^seed/ { print $2 }')
echo "breeding plan (generator seeded with $seed):"
echo "$plan"

start_game "$game" "$work/game" LD_PRELOAD="$fixed_time" BLOOMCROSS_FIXED_TIME="$seed"
before=$(cd "$work/game" && find . | sort)

sky="135 206 235"
seed_colour="204 153 51"
green="0 255 0"
white="255 255 255"

# The window: 800 x 600 at (100, 100), the title first.
geometry=$(xdotool getwindowgeometry "$WID")
echo "$geometry" | grep -q "Position: 100,100" || fail "window not at 100,100: $geometry"
echo "$geometry" | grep -q "Geometry: 800x600" || fail "window not 800x600: $geometry"
shot
expect_pixel "title" 400 300 255 0 0

# Keys do nothing anywhere; a release does nothing; a press moves on.
xdotool key --window "$WID" a space Return Escape F1 Left 2>/dev/null
sleep 0.2
shot
expect_pixel "title after keys" 400 300 255 0 0
xdotool mousedown 3
sleep 0.2
shot
expect_pixel "instructions after a right press" 400 300 0 0 255
xdotool mouseup 3
sleep 0.2
shot
expect_pixel "instructions after the release" 400 300 0 0 255
move 0 10
click 1
shot
expect_pixel "garden background" 400 100 $sky
expect_pixel "goal icon" 696 120 $white
expect_world "the leaving press picked up no seed" 0 10 $seed_colour
for x in -20 0 20; do
    expect_world "starting seed at $x" "$x" 10 $seed_colour
done

# Flower number i is planted at slot x = -40 + 10 i, y = 2; its stem grows to y = 22.
slot_x() { echo $((-40 + 10 * $1)); }

# plant_from SEED_X SEED_Y SLOT: carry a seed into the mound, plant it, grow it.
plant_from() {
    local x
    x=$(slot_x "$3")
    move "$1" "$2"
    click 1
    move "$x" 2
    click 1
    for y in $(seq 3 22); do
        move "$x" "$y"
    done
    sleep 0.1
    alive "after growing flower $3"
}

# The first seed step by step, checked on screenshots.
move -20 10
click 1
move -40 2
shot
expect_world "carried seed under the pointer" -40 2 $seed_colour
expect_world "seed gone from where it lay" -20 10 $sky
click 1
shot
expect_world "planted: the seed is gone" -40 2 $sky
for y in $(seq 3 12); do move -40 "$y"; done
shot
expect_world "growing stem" -40 7 $green
for y in $(seq 13 22); do move -40 "$y"; done
shot
expect_world "finished flower's pistil (red)" -40 22 255 0 0
move -40 22
click 1
shot
expect_pixel "selected flower's green marker" $(( $(world_px -40) + 47 )) "$(world_py 22)" $green
click 1
shot
expect_world "a flower bred with itself drops a seed" 0 10 $seed_colour
expect_pixel "selection cleared: only the white hover marker" $(( $(world_px -40) + 47 )) "$(world_py 22)" $white

# Put the self-bred seed away on the ground far right? It lies on the middle
# seed; the hit test takes the newer one, so plant it as flower 1 first.
plant_from 0 10 1
plant_from 0 10 2
plant_from 20 10 3

# Flower numbers of the plan count the starting seeds 0..2; ours are slots 0, 2, 3
# (slot 1 holds the self-bred copy of seed 0).
slot_of() {
    case $1 in
        0) echo 0 ;;
        1) echo 2 ;;
        2) echo 3 ;;
        *) echo $(($1 + 1)) ;;
    esac
}
echo "$plan" | awk '/^breed/ { print $2, $3 }' | {
    next=4
    while read -r first second; do
        move "$(slot_x "$(slot_of "$first")")" 22
        click 1
        move "$(slot_x "$(slot_of "$second")")" 22
        click 1
        plant_from 0 10 "$next"
        next=$((next + 1))
    done
}
shot
expect_pixel "won: the game-over picture" 400 100 255 0 255
expect_pixel "won: no goal icon" 696 120 255 0 255

# A press starts a new game: the three seeds again, no flowers.
click 1
shot
expect_pixel "new game background" 400 100 $sky
expect_pixel "new game goal icon" 696 120 $white
for x in -20 0 20; do
    expect_world "new game seed at $x" "$x" 10 $seed_colour
done
expect_world "no flower left" -40 22 $sky

# Closing the window ends the game with status 0, and nothing was written.
"$closer" "$WID"
for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end when its window was closed"
wait "$GAME_PID"
status=$?
[ "$status" -eq 0 ] || fail "exit status $status after closing"
after=$(cd "$work/game" && find . | sort)
[ "$before" = "$after" ] || fail "the game wrote files: $(diff <(echo "$before") <(echo "$after"))"
[ -s "$work/game.stderr" ] && fail "the game printed: $(cat "$work/game.stderr")"
echo "1 passed, 0 failed"
