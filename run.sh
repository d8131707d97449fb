#!/bin/sh
# Installs what is missing, builds, and starts ZB-SEQUENTA.
set -eu
cd "$(dirname "$0")"
. ./scripts/deps.sh
zb_install_deps
zb_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_BUILD_TESTS=OFF -DZB_BUILD_BENCH=OFF
exec ./build/zb-sequenta "$@"
