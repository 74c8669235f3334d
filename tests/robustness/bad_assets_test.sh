#!/bin/bash
# The real game on a copy of its assets in which some files are broken:
# missing, empty, cut short, noise, another format, huge, a folder, a named
# pipe, a link loop, unreadable, or valid but unusual. Each case plays from
# the title into the garden, plants a seed and grows its flower, and must
# stay alive, keep answering the pointer and stay within a memory bound of
# a game with good files; a broken font must end start-up with its fixed
# message and status 1.
#
# Usage: bad_assets_test.sh GROUP GAME ASSET_MAKER CLOSER PROBE SOURCE_DIR MEMORY_CHECK
#   GROUP         pictures | unusual | sounds | font | unreadable
#   MEMORY_CHECK  on, or off where the build inflates memory (sanitizers)
# ONLY=REGEX in the environment runs only the cases whose names match.
set -u
group=$1
game=$2
maker=$3
closer=$4
probe=$5
source_dir=$6
memory_check=$7
. "$source_dir/tests/e2e/driver.sh"

# Most a broken file may add to the peak resident size of a good game, kB.
memory_margin_kb=$((100 * 1024))
# Seconds a broken font may take to end start-up.
font_deadline=30

work=$(mktemp -d)
chmod 755 "$work"
trap 'cleanup' EXIT
cleanup() {
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null
    rm -rf "$work"
}
FAILED_SHOT=/tmp/bloomcross-robustness-$group-failed.png
failures=0
passed=0

# One case failed: say why, stop its game, go on with the next case.
case_fail() {
    echo "FAIL [$case_name]: $*" >&2
    [ -n "${WID:-}" ] && timeout 10 import -window "$WID" "$FAILED_SHOT" 2>/dev/null &&
        echo "  the window then: $FAILED_SHOT" >&2
    if [ -n "${GAME_PID:-}" ]; then
        kill -9 "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=
    fi
    failures=$((failures + 1))
    return 1
}

# --- the good assets -------------------------------------------------------

# The real assets, which each case breaks a file of.
base=$work/base
copy_game_assets "$base" "$source_dir"

# --- ways of breaking a file ------------------------------------------------

# The same content in another format: what each kind of file is not.
other_format_of() {
    case $1 in
        *.png) echo "$base/audio/wow.wav" ;;
        *.wav) echo "$base/audio/backgroundmusic.mp3" ;;
        *.mp3) echo "$base/images/background.png" ;;
        *.ttf) echo "$base/images/background.png" ;;
    esac
}

# break_file FILE DAMAGE: FILE (in a case's copy) becomes what DAMAGE says.
break_file() {
    local file=$1 size
    case $2 in
        missing) rm -f "$file" ;;
        empty) : >"$file" ;;
        truncated)
            size=$(stat -c %s "$file")
            head -c $((size / 2)) "$file" >"$file.part" && mv "$file.part" "$file" ;;
        random) "$maker" random 65536 7 "$file" ;;
        other-format) cp "$(other_format_of "$file")" "$file" ;;
        # The right first bytes, then 200 MB of holes.
        sparse-200M)
            head -c 64 "$file" >"$file.part" && mv "$file.part" "$file"
            truncate -s 200M "$file" ;;
        folder) rm -f "$file" && mkdir "$file" ;;
        pipe) rm -f "$file" && mkfifo "$file" ;;
        link-loop) rm -f "$file" && ln -s "$(basename "$file")" "$file" ;;
        unreadable) chmod 000 "$file" ;;
        # Pictures only.
        claims-30000) "$maker" claim-png 30000 30000 "$file" ;;
        bomb-30000) "$maker" zero-png 30000 30000 "$file" ;;
        bomb-4096) "$maker" zero-png 4096 4096 "$file" ;;
        bomb-1024) "$maker" zero-png 1024 1024 "$file" ;;
        palette) convert -size 40x30 xc:'rgb(10,120,40)' -fill white -draw 'point 1,1' PNG8:"$file" ;;
        grey) convert -size 40x30 xc:'rgb(90,90,90)' -define png:color-type=0 -define png:bit-depth=8 "$file" ;;
        grey-alpha) convert -size 40x30 xc:'rgba(90,90,90,1)' -define png:color-type=4 "$file" ;;
        rgb16) convert -size 40x30 xc:'rgb(10,120,40)' -define png:color-type=2 PNG48:"$file" ;;
        rgba16) convert -size 40x30 xc:'rgba(10,120,40,1)' PNG64:"$file" ;;
        interlaced) convert -size 40x30 xc:'rgb(10,120,40)' -interlace PNG PNG24:"$file" ;;
        one-texel) convert -size 1x1 xc:'rgb(10,120,40)' PNG24:"$file" ;;
        odd-size) convert -size 37x23 xc:'rgb(10,120,40)' PNG24:"$file" ;;
        strip-4096) convert -size 4096x1 xc:'rgb(10,120,40)' PNG24:"$file" ;;
        # Sounds only: what passes a glance at the header but isn't sound.
        wav-header-only) head -c 44 "$file" >"$file.part" && mv "$file.part" "$file" ;;
        wav-long-8k) sox -n -r 8000 -c 1 -b 8 -e unsigned "$file" synth 600 sine 440 ;;
        wav-adpcm) sox "$base/audio/wow.wav" -e ms-adpcm "$file" ;;
        mp3-sync-then-zeros) { printf '\377\373\220\000'; head -c 65536 /dev/zero; } >"$file" ;;
        mp3-sync-then-noise) { printf '\377\373\220\000'; "$maker" random 65536 9 /dev/stdout; } >"$file" ;;
        # Every 300th byte after the first kilobyte flipped: lost frames and damaged ones.
        mp3-flipped) "$maker" flip 1000 300 "$file" ;;
        # Fonts only: files that open but whose glyphs can't be loaded.
        font-no-glyphs) "$maker" font-glyphs "$base/fonts/rabiohead.ttf" 0 "$file" ;;
        font-glyf-ff) "$maker" font-fill "$base/fonts/rabiohead.ttf" glyf 0xff "$file" ;;
        *) echo "unknown damage $2" >&2; return 1 ;;
    esac
}

# --- playing a case ---------------------------------------------------------

# new_copy NAME: a fresh copy of the good assets; sets dir.
new_copy() {
    dir=$work/cases/${1//[^A-Za-z0-9-]/_}
    mkdir -p "$work/cases"
    cp -a "$base" "$dir"
}

# launch DIR [AS_USER]: the game in DIR, as root or as an ordinary user; sets
# GAME_PID (the game's own process: setpriv and env exec it).
launch() {
    local as=()
    [ -n "${2:-}" ] && as=(setpriv --reuid="$2" --regid="$(id -g "$2")" --clear-groups)
    (cd "$1" && exec "${as[@]}" env SDL_AUDIODRIVER=dummy "$game" \
        >"$1.stdout" 2>"$1.stderr") &
    GAME_PID=$!
}

# Moves and clicks in one xdotool run: "m X Y" (world units) or "c".
pointer() {
    local steps=()
    while [ $# -gt 0 ]; do
        if [ "$1" = c ]; then
            steps+=(click 1 sleep 0.1)
            shift
        else
            steps+=(mousemove --window "$WID" "$(world_px "$2")" "$(world_py "$3")" sleep 0.02)
            shift 3
        fi
    done
    xdotool "${steps[@]}"
}

# wait_change HASH: the window shows something else within 10 s.
wait_change() { "$probe" "$WID" wait-change "$1" 10 >/dev/null; }
window_hash() { "$probe" "$WID" hash; }

peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }

# play NAME [BACKGROUND_PIXEL] [AS_USER]: title, instructions, garden, plant,
# grow, select, then close the window; checks the game answered at each step.
# BACKGROUND_PIXEL is the "r g b" the garden's background must show in the
# middle of the window: white for a picture that can't be read (a plain square).
play() {
    local name=$1 background=${2:-} user=${3:-} peak status i title garden grown seen
    case_name=$name
    WID=
    launch "$dir" "$user"
    WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Bloomcross - Ardwen, Playloom$' 2>/dev/null | head -n 1)
    [ -n "$WID" ] || { case_fail "no window within 20 s: $(cat "$dir.stderr")"; return 1; }
    if [ -n "$user" ] && [ "$(awk '/^Uid:/ { print $2 }' "/proc/$GAME_PID/status")" != "$(id -u "$user")" ]; then
        case_fail "the game does not run as $user"
        return 1
    fi
    # Start-up is over once the first frame is drawn.
    "$probe" "$WID" wait-drawn 30 || { case_fail "nothing drawn within 30 s"; return 1; }
    sleep 0.2
    title=$(window_hash) || { case_fail "no picture of the window"; return 1; }
    pointer m 0 10 c c
    wait_change "$title" || { case_fail "the title did not answer two clicks"; return 1; }
    if [ -n "$background" ]; then
        seen=$("$probe" "$WID" wait-pixel 400 300 $background 10) ||
            { case_fail "background shows ($seen), wanted ($background)"; return 1; }
    fi
    garden=$(window_hash)
    # Carry the left seed to the planting mound, plant it and grow its stem to full length.
    local grow=(m -20 10 c m -40 2 c)
    for i in $(seq 3 23); do grow+=(m -40 "$i"); done
    pointer "${grow[@]}"
    wait_change "$garden" || { case_fail "planting and growing changed nothing"; return 1; }
    kill -0 "$GAME_PID" 2>/dev/null || { case_fail "the game died while growing"; return 1; }
    # The finished flower still answers: a click selects it.
    sleep 0.3
    grown=$(window_hash)
    pointer m -40 22 c
    wait_change "$grown" || { case_fail "the finished flower did not answer a click"; return 1; }

    peak=$(peak_kb)
    [ -n "$peak" ] || { case_fail "the game is gone"; return 1; }
    if [ -z "${good_peak_kb:-}" ]; then
        good_peak_kb=$peak
    elif [ "$memory_check" = on ] && [ "$peak" -gt $((good_peak_kb + memory_margin_kb)) ]; then
        case_fail "peak memory $((peak / 1024)) MiB, a good game's is $((good_peak_kb / 1024)) MiB"
        return 1
    fi

    "$closer" "$WID"
    for i in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$GAME_PID" 2>/dev/null && { case_fail "the game did not end when its window was closed"; return 1; }
    wait "$GAME_PID"
    status=$?
    GAME_PID=
    [ "$status" -eq 0 ] || { case_fail "exit status $status: $(tail -n 5 "$dir.stderr")"; return 1; }
    [ -s "$dir.stderr" ] && { case_fail "the game printed: $(head -n 5 "$dir.stderr")"; return 1; }
    echo "ok   [$name] peak $((peak / 1024)) MiB"
    passed=$((passed + 1))
}

# damage_case NAME DAMAGE BACKGROUND_PIXEL FILES...: every FILE broken the same way.
damage_case() {
    local name=$1 damage=$2 background=$3 file
    shift 3
    [[ $name =~ ${ONLY:-} ]] || return 0
    new_copy "$name"
    for file in "$@"; do
        break_file "$dir/$file" "$damage" || { case_name=$name; case_fail "could not make the case"; return; }
    done
    play "$name" "$background"
}

# --- the groups -------------------------------------------------------------

white="255 255 255"
green="10 120 40"
pictures="images/background.png images/seed.png images/petal.png images/target5.png"
sounds="audio/wow.wav audio/backgroundmusic.mp3"
damages="missing empty truncated random other-format sparse-200M folder pipe link-loop"

run_pictures() {
    for damage in $damages claims-30000 bomb-30000; do
        # shellcheck disable=SC2086
        damage_case "pictures $damage" "$damage" "$white" $pictures
    done
}

# Valid pictures of every storage kind: shown as they are, not as plain squares.
run_unusual() {
    local shape file
    for shape in palette grey rgb16 rgba16 interlaced one-texel odd-size strip-4096; do
        local expect=$green
        [ "$shape" = grey ] && expect="90 90 90"
        # shellcheck disable=SC2086
        damage_case "pictures $shape" "$shape" "$expect" $pictures
    done
    damage_case "pictures grey-alpha" grey-alpha "" images/background.png images/seed.png
    # Small files that inflate to tens of megabytes, one picture at a time,
    # and the largest picture taken, as the seed's, which is loaded once per seed.
    for file in $pictures; do
        damage_case "$file bomb-4096" bomb-4096 "" "$file"
    done
    damage_case "seed bomb-1024" bomb-1024 "" images/seed.png
}

run_sounds() {
    for damage in $damages; do
        # shellcheck disable=SC2086
        damage_case "sounds $damage" "$damage" "" $sounds
    done
    damage_case "wav header only" wav-header-only "" audio/wow.wav
    damage_case "wav 10 minutes at 8 kHz" wav-long-8k "" audio/wow.wav
    damage_case "wav ms-adpcm" wav-adpcm "" audio/wow.wav
    damage_case "mp3 sync then zeros" mp3-sync-then-zeros "" audio/backgroundmusic.mp3
    damage_case "mp3 sync then noise" mp3-sync-then-noise "" audio/backgroundmusic.mp3
    damage_case "mp3 flipped bytes" mp3-flipped "" audio/backgroundmusic.mp3
}

# The broken file is the only one the ordinary user can't read.
run_unreadable() {
    local user=nobody file
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home "$user" 2>/dev/null
    control "$user"
    for file in images/background.png images/seed.png images/petal.png images/target5.png \
        audio/wow.wav audio/backgroundmusic.mp3; do
        new_copy "unreadable $file"
        break_file "$dir/$file" unreadable
        setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups cat "$dir/$file" >/dev/null 2>&1 &&
            { case_name="unreadable $file"; case_fail "$user can read the file"; continue; }
        local background=""
        [ "$file" = images/background.png ] && background=$white
        play "unreadable $file" "$background" "$user"
    done
    new_copy "unreadable font"
    break_file "$dir/fonts/rabiohead.ttf" unreadable
    font_case "unreadable font" open "$user"
    font_case_result
}

# --- fonts: start-up only, so the cases run side by side --------------------

font_open="FT_New_Face failed (there is probably a problem with your font file)"
font_load="FT_Load_Glyph failed"

# font_case NAME EXPECT [AS_USER]: starts the game on the copy in $dir; the
# check comes later in font_case_result. EXPECT: open, load, or open-or-load.
font_pids=()
font_names=()
font_dirs=()
font_expects=()
font_case() {
    launch "$dir" "${3:-}"
    font_pids+=("$GAME_PID")
    font_names+=("$1")
    font_dirs+=("$dir")
    font_expects+=("$2")
    GAME_PID=
}

font_case_result() {
    local i status message waited
    for i in "${!font_pids[@]}"; do
        case_name=${font_names[$i]}
        GAME_PID=${font_pids[$i]}
        waited=0
        while kill -0 "$GAME_PID" 2>/dev/null && [ "$waited" -lt $((font_deadline * 10)) ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        if kill -0 "$GAME_PID" 2>/dev/null; then
            case_fail "start-up still running after $font_deadline s"
            continue
        fi
        wait "$GAME_PID"
        status=$?
        GAME_PID=
        message=$(cat "${font_dirs[$i]}.stderr")
        [ "$status" -eq 1 ] || { case_fail "exit status $status, wanted 1: $message"; continue; }
        case ${font_expects[$i]}:$message in
            open:"$font_open" | load:"$font_load" | open-or-load:"$font_open" | open-or-load:"$font_load") ;;
            *) case_fail "printed '$message' (wanted the ${font_expects[$i]} failure)"; continue ;;
        esac
        echo "ok   [$case_name] $message"
        passed=$((passed + 1))
    done
    font_pids=()
    font_names=()
    font_dirs=()
    font_expects=()
}

run_font() {
    local damage expect
    for damage in $damages font-no-glyphs font-glyf-ff; do
        case $damage in
            font-*) expect=load ;;
            truncated) expect=open-or-load ;;
            *) expect=open ;;
        esac
        new_copy "font $damage"
        break_file "$dir/fonts/rabiohead.ttf" "$damage"
        font_case "font $damage" "$expect"
    done
    font_case_result
}

# A game with good files first: its peak memory is the bound's base.
control() {
    new_copy "good files"
    play "good files" "" "${1:-}"
}

case $group in
    pictures) control && run_pictures ;;
    unusual) control && run_unusual ;;
    sounds) control && run_sounds ;;
    font) run_font ;;
    unreadable) run_unreadable ;;
    *) echo "unknown group $group" >&2; exit 2 ;;
esac
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
