#!/bin/sh
# Installs what the tests need (only the Debian packages that are missing),
# builds everything and runs every test; then the whole suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer, and the picture
# decoder's fuzzer for a bounded minute.
set -eu
cd "$(dirname "$0")"
. ./tools/debian-packages.sh
install_missing $BUILD_PACKAGES $TEST_PACKAGES
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The benchmark is no test, so the sanitizer build leaves it out.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOOMCROSS_SANITIZE=ON -DBLOOMCROSS_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOOMCROSS_FUZZ=ON -DBLOOMCROSS_TESTS=OFF \
    -DBLOOMCROSS_BENCH=OFF -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
cmake --build build-fuzz --target png_fuzz -j"$jobs"
./fuzz/run_png_fuzz.sh build-fuzz/fuzz/png_fuzz 60
