#!/bin/sh
# The desk's running cost: CPU time of the program over a stretch of N seconds
# (default 60) with the scanner, the lock lights and always-on-top running,
# side by side with the yardstick (a plain Qt window with seven labels and one
# 100 ms timer) in the same run, on a private Xvfb with openbox.
# Usage: bench/desk_cpu.sh [build-dir] [seconds]
set -eu
build=$(cd "${1:-build}" && pwd)
seconds=${2:-60}
program="$build/zb-sequenta"
yardstick="$build/bench/zb_desk_yardstick"
for f in "$program" "$yardstick"; do
    [ -x "$f" ] || { echo "not built: $f" >&2; exit 1; }
done

tmp=$(mktemp -d)
pids=""
zb=""
ys=""
cleanup() {
    # The programs first, then the servers they use.
    for p in $zb $ys; do kill "$p" 2>/dev/null || true; done
    for p in $zb $ys; do wait "$p" 2>/dev/null || true; done
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

# A private X server with a window manager, and a private session bus.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids="$pids $!"
while [ ! -s "$tmp/display" ]; do sleep 0.1; done
DISPLAY=":$(cat "$tmp/display")"
export DISPLAY
openbox --sm-disable >/dev/null 2>&1 &
pids="$pids $!"
until xprop -root _NET_WORKAREA 2>/dev/null | grep -q " = "; do sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=4 4>"$tmp/dbus.pid")
export DBUS_SESSION_BUS_ADDRESS
pids="$pids $(cat "$tmp/dbus.pid")"

# The program with the scanner started by its stored switch; always on top
# is on by default.
mkdir -p "$tmp/config/ZB-SEQUENTA"
printf '[zb-sequenta]\nKITT_AUTOSTART_TICKBOX=1\nAlwaysOnTopTimer_TICKBOX=1\n' >"$tmp/config/ZB-SEQUENTA/ZB-SEQUENTA.ini"
XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=xcb "$program" &
zb=$!
# The yardstick comes up later and takes the foreground, so that always on
# top has another program's window to demote.
sleep 1
QT_QPA_PLATFORM=xcb "$yardstick" &
ys=$!
sleep 3 # both on the screen and settled

# utime + stime in clock ticks, and the times the process woke up to run.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"; }
zb_cpu0=$(cpu_ticks $zb); ys_cpu0=$(cpu_ticks $ys)
zb_wake0=$(wakeups $zb); ys_wake0=$(wakeups $ys)
sleep "$seconds"
zb_cpu1=$(cpu_ticks $zb); ys_cpu1=$(cpu_ticks $ys)
zb_wake1=$(wakeups $zb); ys_wake1=$(wakeups $ys)

above=no
if xprop -name "ZB-SEQUENTA - zb-sequenta" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; then
    above=yes
fi
hz=$(getconf CLK_TCK)
awk -v s="$seconds" -v hz="$hz" -v above="$above" \
    -v zc="$((zb_cpu1 - zb_cpu0))" -v yc="$((ys_cpu1 - ys_cpu0))" \
    -v zw="$((zb_wake1 - zb_wake0))" -v yw="$((ys_wake1 - ys_wake0))" 'BEGIN {
    printf "over %d s (main window above: %s)\n", s, above
    printf "%-12s %10s %8s %14s\n", "", "CPU s", "CPU %", "wake-ups/s"
    printf "%-12s %10.2f %8.2f %14.1f\n", "zb-sequenta", zc / hz, 100 * zc / hz / s, zw / s
    printf "%-12s %10.2f %8.2f %14.1f\n", "yardstick", yc / hz, 100 * yc / hz / s, yw / s
    if (yc > 0) printf "ratio: %.2f x the yardstick (goal: at most 1.5)\n", zc / yc
}'
