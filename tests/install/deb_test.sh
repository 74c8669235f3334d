#!/bin/sh
# Builds the Debian package, installs it on this machine with dpkg, starts the
# game with the command of its installed menu entry, and removes it again.
# Changes the machine, so it runs only as root, leaves alone a copy of the game
# that was installed before, and removes the package even when a check fails.
# Usage: deb_test.sh BUILD_DIR WITH_DISPLAY
set -u
build=$1
with_display=$2
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if ! command -v dpkg >/dev/null || ! command -v dpkg-deb >/dev/null; then
    skip "no dpkg here"
fi
status=$(dpkg-query -W -f='${db:Status-Status}' bloomcross 2>/dev/null)
[ -z "$status" ] || [ "$status" = not-installed ] || skip "bloomcross is on this machine already ($status)"

work=$(mktemp -d)
installed=no
cleanup() {
    if [ "$installed" = yes ]; then
        dpkg -r bloomcross >"$work/remove.log" 2>&1 || { cat "$work/remove.log" >&2; echo "could not remove bloomcross" >&2; }
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

timeout 300 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$(find "$work/package" -maxdepth 1 -name 'bloomcross_*.deb' | head -n 1)
[ -n "$deb" ] || fail "cpack made no bloomcross_*.deb"

# Depends comes from the libraries the game links, the section is games, and
# the launcher and the game are the only programs in it.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
echo "$depends" | grep -q 'libc6' || fail "Depends was not worked out from the binary"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"
programs=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-..x/ { print $NF }' | sort | tr '\n' ' ')
[ "$programs" = "./usr/games/bloomcross ./usr/libexec/bloomcross/bloomcross " ] ||
    fail "the package's programs are: $programs"

# Another package manager run may hold the dpkg lock for a while.
installed=yes
tries=0
until dpkg -i "$deb" >"$work/install.log" 2>&1; do
    tries=$((tries + 1))
    if ! grep -q 'lock' "$work/install.log" || [ "$tries" -ge 60 ]; then
        cat "$work/install.log" >&2
        fail "dpkg -i failed"
    fi
    sleep 2
done

# The menu runs the entry's Exec= command (field codes dropped) with a user
# session's PATH, which on Debian holds the games folders.
entry=/usr/share/applications/bloomcross.desktop
[ -f "$entry" ] || fail "no installed desktop entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1 | sed 's/ *%[a-zA-Z]//g')
[ -n "$exec_line" ] || fail "the desktop entry has no Exec="
"$with_display" sh "$here/window_appears.sh" / /usr/share/games/bloomcross \
    env PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games sh -c "exec $exec_line" ||
    fail "the menu's command did not start the game"

dpkg -r bloomcross >"$work/remove.log" 2>&1 || { cat "$work/remove.log" >&2; fail "dpkg -r failed"; }
installed=no
for path in /usr/games/bloomcross /usr/libexec/bloomcross /usr/share/games/bloomcross \
    /usr/share/applications/bloomcross.desktop; do
    [ ! -e "$path" ] || fail "$path is left after dpkg -r"
done
echo "package built, installed, started from the menu and removed"
