# Shell helpers for driving the real game on an X screen: pointer moves in
# world units, clicks, and pixel checks on screenshots. Sourced by the tests.

# World units to window pixels in the 800 x 600 window (one unit is 8 pixels).
world_px() { echo $((400 + 8 * $1)); }
world_py() { echo $((600 - 8 * $1)); }

# make_plain_assets DIR FONT: pictures of plain colours, so screenshots can be
# read exactly; no sound files (the game is then silent).
make_plain_assets() {
    mkdir -p "$1/images" "$1/audio" "$1/fonts"
    cp "$2" "$1/fonts/rabiohead.ttf"
    convert -size 64x64 xc:'rgb(255,0,0)' PNG32:"$1/images/titlescreen.png"
    convert -size 64x64 xc:'rgb(0,0,255)' PNG32:"$1/images/instructions.png"
    convert -size 64x64 xc:'rgb(135,206,235)' PNG32:"$1/images/background.png"
    convert -size 64x64 xc:'rgb(255,0,255)' PNG32:"$1/images/gameover.png"
    for organ in pistil pistil2 pistil3 leaf leaf2 leaf3 petal petal2 petal3 seed target5; do
        convert -size 64x64 xc:none -fill white -draw 'rectangle 3,3 60,60' PNG32:"$1/images/$organ.png"
    done
    convert -size 64x64 xc:none -fill none -stroke white -strokewidth 6 -draw 'circle 32,32 32,5' \
        PNG32:"$1/images/selector.png"
}

# start_game BINARY DIR [env...]: runs the game in DIR; sets GAME_PID and WID.
start_game() {
    binary=$1
    dir=$2
    shift 2
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@" "$binary" >"$dir.stdout" 2>"$dir.stderr") &
    GAME_PID=$!
    WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Bloomcross - Ardwen, Playloom$' | head -n 1)
    [ -n "$WID" ] || fail "the game window did not appear"
    sleep 0.3
}

fail() {
    echo "FAIL: $*" >&2
    [ -n "${SHOT:-}" ] && [ -f "$SHOT" ] && cp "$SHOT" "${FAILED_SHOT:-/tmp/bloomcross-failed.png}" &&
        echo "last screenshot kept in ${FAILED_SHOT:-/tmp/bloomcross-failed.png}" >&2
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null
    exit 1
}

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game is not running any more ($1)"; }

# move X Y: the pointer to a world point (integer units).
move() {
    xdotool mousemove --window "$WID" "$(world_px "$1")" "$(world_py "$2")"
    sleep 0.02
}

click() {
    xdotool click "${1:-1}"
    sleep 0.15
}

shot() {
    sleep 0.1
    import -window "$WID" "$SHOT" || fail "no screenshot"
}

# pixel PX PY: "r g b" of the last screenshot at a window pixel.
pixel() {
    convert "$SHOT" -crop "1x1+$1+$2" +repage -depth 8 txt:- | tail -n 1 |
        sed -E 's/.*\(([0-9.]+),([0-9.]+),([0-9.]+).*/\1 \2 \3/' | awk '{ printf "%d %d %d\n", $1, $2, $3 }'
}

# expect_pixel WHAT PX PY R G B: the colour within a small tolerance.
expect_pixel() {
    what=$1
    got=$(pixel "$2" "$3")
    set -- $got "$4" "$5" "$6"
    for i in 1 2 3; do
        eval "a=\${$i}; b=\${$((i + 3))}"
        d=$((a - b))
        [ "$d" -lt 0 ] && d=$((-d))
        [ "$d" -le 10 ] || fail "$what: pixel is ($got), wanted ($4 $5 $6)"
    done
}

expect_world() { expect_pixel "$1" "$(world_px "$2")" "$(world_py "$3")" "$4" "$5" "$6"; }

# copy_game_assets DIR SOURCE_DIR: the game's real pictures, sounds and font,
# readable by every user.
copy_game_assets() {
    mkdir -p "$1"
    cp -a "$2/assets/images" "$2/assets/audio" "$2/assets/fonts" "$1/"
    chmod -R a+rX "$1"
}
