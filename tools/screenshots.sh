#!/bin/sh
# Renders every window into docs/screenshots/ under a virtual X server with a
# small screen, 1280x720, in a light theme and again in a dark one (-dark.png),
# and into docs/screenshots/1024x768/ on a screen of that size.
#   tools/screenshots.sh [build-dir]   (default: build)
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" -G Ninja >/dev/null
cmake --build "$dir" --target zb_screenshots
mkdir -p docs/screenshots/1024x768
xvfb-run -a -s "-screen 0 1280x720x24 -dpi 96" "$dir/tools/zb_screenshots" docs/screenshots
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$dir/tools/zb_screenshots" docs/screenshots/1024x768
