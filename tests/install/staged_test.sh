#!/bin/sh
# Installs the built game under a staging root as a package build would
# (`cmake --install --prefix /usr` with DESTDIR), checks the tree is complete
# and its menu entry and metadata are valid, then starts the staged launcher
# from an unrelated folder. Uses the X screen in DISPLAY.
# Usage: staged_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
usr=$work/stage/usr
data=$usr/share/games/bloomcross

# The launcher and the game are the only programs installed: no test
# program or benchmark comes along.
programs=$(cd "$work/stage" && find . -type f -perm -u+x | sort | tr '\n' ' ')
[ "$programs" = "./usr/games/bloomcross ./usr/libexec/bloomcross/bloomcross " ] ||
    fail "installed programs are: $programs"

# Every asset the game reads, byte for byte.
(cd "$source/assets" && find images audio fonts -type f ! -name '.*' ! -name '*~') >"$work/assets"
[ -s "$work/assets" ] || fail "no assets in $source/assets"
while IFS= read -r asset; do
    cmp -s "$source/assets/$asset" "$data/$asset" || fail "asset $asset missing or different"
done <"$work/assets"

for file in share/applications/bloomcross.desktop share/metainfo/io.bloomcross.Bloomcross.metainfo.xml \
    share/doc/bloomcross/copyright share/doc/bloomcross/changelog.gz share/man/man6/bloomcross.6.gz; do
    [ -f "$usr/$file" ] || fail "$file not installed"
done
for size in 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x$size/apps/bloomcross.png
    [ -f "$icon" ] || fail "no ${size}-pixel icon"
    got=$(identify -format '%wx%h' "$icon")
    [ "$got" = "${size}x$size" ] || fail "the ${size}-pixel icon is $got"
done
gzip -t "$usr/share/doc/bloomcross/changelog.gz" "$usr/share/man/man6/bloomcross.6.gz" ||
    fail "a gzipped document is broken"

desktop=$usr/share/applications/bloomcross.desktop
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$usr/share/metainfo/io.bloomcross.Bloomcross.metainfo.xml" ||
    fail "the AppStream metadata does not validate"
# The entry names the icon and the command that were installed.
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$usr/share/icons/hicolor/64x64/apps/$icon.png" ] || fail "the entry's icon $icon is not installed"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/games/$command" ] || fail "the entry's command $command is not in games/"

# Started through a link in another folder, without DISPLAY but with a
# -display argument: the launcher must find the staged tree from its own
# place and hand its arguments to the game.
mkdir "$work/elsewhere"
ln -s "$usr/games/bloomcross" "$work/elsewhere/bloomcross"
sh "$here/window_appears.sh" "$work/elsewhere" "$data" \
    env -u DISPLAY ./bloomcross -display "$DISPLAY" || fail "the staged game did not start"
echo "staged tree complete"
