#!/bin/sh
# Runs the picture decoder's fuzzer for a bounded time, starting from the
# game's own pictures, the test pictures and every input kept so far. An
# input that makes it fail is copied into tests/robustness/png-regressions/,
# where the ordinary tests replay it from then on.
# Usage: run_png_fuzz.sh FUZZER [SECONDS]
set -u
fuzzer=$1
seconds=${2:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
regressions=$source_dir/tests/robustness/png-regressions
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/found"
for seed in "$source_dir"/assets/images/*.png "$source_dir"/tests/robustness/png-seeds/*.png "$regressions"/*; do
    [ -f "$seed" ] && cp "$seed" "$work/corpus/"
done

# -malloc_limit_mb: the decoder never needs a single block near this size, so
# asking for one means a size check was bypassed. Long inputs are cut: the
# full-view pictures then also stand for files cut short.
"$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=64 \
    -dict="$source_dir/fuzz/png.dict" -artifact_prefix="$work/found/" -print_final_stats=1 \
    "$work/corpus" >"$work/log" 2>&1
status=$?
grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+ +DONE" "$work/log"
found=$(ls "$work/found")
if [ "$status" -ne 0 ] || [ -n "$found" ]; then
    tail -n 60 "$work/log" >&2
    for input in $found; do
        cp "$work/found/$input" "$regressions/$input"
        echo "png_fuzz: kept $regressions/$input as a regression input" >&2
    done
    echo "png_fuzz: FAILED (status $status)" >&2
    exit 1
fi
echo "png_fuzz: no failure in $seconds s"
