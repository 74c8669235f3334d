#!/bin/sh
# The icons tool gives the same bytes on every run, and the committed icons
# are what it makes from the goal flower picture as it stands now.
# Usage: icons_test.sh SOURCE_DIR
set -u
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

picture=$source/assets/images/target5.png
sh "$source/tools/make-icons.sh" "$picture" "$work/first" || fail "make-icons.sh failed"
sh "$source/tools/make-icons.sh" "$picture" "$work/second" || fail "make-icons.sh failed"
for size in 64 128 256; do
    name=bloomcross-$size.png
    cmp -s "$work/first/$name" "$work/second/$name" || fail "$name differs between two runs"
    compare -metric AE "$work/first/$name" "$source/assets/icons/$name" null: 2>/dev/null ||
        fail "assets/icons/$name is stale: run tools/make-icons.sh"
done
