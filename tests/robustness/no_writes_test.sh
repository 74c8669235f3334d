#!/bin/bash
# The game writes no file: a whole visit (title, instructions, garden, a seed
# planted and grown, the window closed) under strace, which must show every
# file opened for reading only and nothing created, removed, renamed, linked
# or cut short, by the game or any process it starts; and the asset folder
# and the home folder must come out as they went in.
# Usage: no_writes_test.sh GAME CLOSER PROBE SOURCE_DIR
set -u
game=$1
closer=$2
probe=$3
source_dir=$4
. "$source_dir/tests/e2e/driver.sh"

work=$(mktemp -d)
trap '[ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

copy_game_assets "$work/game" "$source_dir"
mkdir "$work/home"
listing() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort); }
assets_before=$(listing "$work/game")

# Every call that makes, removes, renames, links or cuts a file, every open
# (whatever its flags) and every program started.
calls=open,openat,openat2,creat,mkdir,mkdirat,rmdir,unlink,unlinkat,rename,renameat,renameat2
calls=$calls,link,linkat,symlink,symlinkat,truncate,ftruncate,mknod,mknodat,execve
# The GL driver keeps a shader cache of its own under the home folder, shared
# by every OpenGL program; it is switched off so that what is left is the
# game's own doing. A sanitizer build's leak check can't run under strace.
(cd "$work/game" && exec env HOME="$work/home" MESA_SHADER_CACHE_DISABLE=true SDL_AUDIODRIVER=dummy \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq -o "$work/trace" -e trace="$calls" "$game" >"$work/stdout" 2>"$work/stderr") &
GAME_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Bloomcross - Ardwen, Playloom$' | head -n 1)
[ -n "$WID" ] || fail "the game window did not appear: $(cat "$work/stderr")"
"$probe" "$WID" wait-drawn 30 || fail "the game drew nothing"
sleep 0.3
title=$("$probe" "$WID" hash)
move 0 10
click 1
click 1
"$probe" "$WID" wait-change "$title" 10 >/dev/null || fail "the title did not answer"
garden=$("$probe" "$WID" hash)
move -20 10
click 1
move -40 2
click 1
for y in $(seq 3 23); do move -40 "$y"; done
"$probe" "$WID" wait-change "$garden" 10 >/dev/null || fail "planting and growing changed nothing"
sleep 0.5
"$closer" "$WID"
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end when its window was closed"
wait "$GAME_PID"
status=$?
GAME_PID=
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr")"

trace=$work/trace
[ -s "$trace" ] || fail "strace recorded nothing"
# The visit really read its files: start-up's, and the organ pictures of the planting.
for file in ./images/background.png ./images/seed.png ./images/target5.png ./images/petal.png \
    ./fonts/rabiohead.ttf ./audio/wow.wav ./audio/backgroundmusic.mp3; do
    grep -q "open[a-z0-9]*(.*\"$file\", O_RDONLY" "$trace" || fail "$file was never opened for reading"
done
# An open that can write, create or cut: only devices (a child's /dev/null), never a file.
writers=$(grep -E 'open[a-z0-9]*\(' "$trace" | grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND' |
    grep -vE '"/dev/(null|tty|zero|urandom|random|snd/[^"]*|dri/[^"]*)"')
[ -z "$writers" ] || fail "files opened for writing:
$writers"
changes=$(grep -E '^[0-9]+ +(creat|mkdir|mkdirat|rmdir|unlink|unlinkat|rename|renameat|renameat2|link|linkat|symlink|symlinkat|truncate|ftruncate|mknod|mknodat)\(' "$trace")
[ -z "$changes" ] || fail "files created, removed, renamed or cut:
$changes"

[ "$(listing "$work/game")" = "$assets_before" ] || fail "the asset folder changed:
$(diff <(echo "$assets_before") <(listing "$work/game"))"
[ -z "$(ls -A "$work/home")" ] || fail "files appeared in the home folder: $(cd "$work/home" && find .)"
[ -s "$work/stderr" ] && fail "the game printed: $(cat "$work/stderr")"
echo "opens: $(grep -cE 'open[a-z0-9]*\(' "$trace"), none for writing; nothing created, removed or renamed"
echo "1 passed, 0 failed"
