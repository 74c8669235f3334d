#!/bin/sh
# Runs a command on a private Xvfb screen, so tests running side by side never
# share a pointer, a window or a display number.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
tries=0
while [ ! -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "with-display: Xvfb did not start" >&2
        cat "$dir/xvfb.log" >&2
        rm -rf "$dir"
        exit 1
    fi
    sleep 0.05
done
DISPLAY=":$(cat "$dir/display")"
export DISPLAY
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$dir"
exit "$status"
