#!/bin/sh
# Installs what is missing, builds, and runs every test with ctest.
#   ZB_SANITIZE=1 ./test.sh   builds and tests with the address and
#                             undefined-behaviour sanitizers (build-asan/).
set -eu
cd "$(dirname "$0")"
. ./scripts/deps.sh
zb_install_deps

if [ "${ZB_SANITIZE:-0}" = "1" ]; then
    dir=build-asan
    zb_build "$dir" -DCMAKE_BUILD_TYPE=Debug -DZB_SANITIZE=ON -DZB_BUILD_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=0
else
    dir=build
    zb_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_BUILD_TESTS=ON
fi
cd "$dir"
ctest --output-on-failure -j2 --timeout 300
