#!/bin/sh
# Installs what the game needs (only the Debian packages that are missing),
# builds it, and starts it with assets/ as its working folder.
set -eu
cd "$(dirname "$0")"
. ./tools/debian-packages.sh
install_missing $BUILD_PACKAGES
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bloomcross
cd assets
exec ../build/bloomcross "$@"
