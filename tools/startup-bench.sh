#!/bin/sh
# Start-up time of the program against an empty Qt 6 window and one showing
# a line of text, on a private Xvfb with openbox, with a settings folder of
# its own.
#   tools/startup-bench.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-10}
work=$(mktemp -d)
trap 'kill "$wm" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
DISPLAY=:$(cat "$work/display")
export DISPLAY
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
until xprop -root _NET_WORKAREA 2>/dev/null | grep -q ' = '; do sleep 0.05; done
# A private state folder: a copy of the same name running elsewhere would
# hold the name, and the started copy would hand over instead of showing.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/runtime"
"$build/bench/zb_startup_bench" "$runs" "$build/zb-sequenta" "ZB-SEQUENTA - zb-sequenta" \
    "$build/bench/zb_empty_qt_window" "empty Qt window" \
    "$build/bench/zb_empty_qt_window --label" "Qt window with one label"
