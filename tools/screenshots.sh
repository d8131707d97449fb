#!/bin/sh
# Renders every window into docs/screenshots/ under a virtual X server.
#   tools/screenshots.sh [build-dir]   (default: build)
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" -G Ninja >/dev/null
cmake --build "$dir" --target zb_screenshots
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" "$dir/tools/zb_screenshots" docs/screenshots
