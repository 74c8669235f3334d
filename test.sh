#!/bin/sh
# Installs what the tests need (only the Debian packages that are missing),
# builds everything and runs every test.
set -eu
cd "$(dirname "$0")"
. ./tools/debian-packages.sh
install_missing $BUILD_PACKAGES $TEST_PACKAGES
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
