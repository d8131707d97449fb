#!/bin/sh
# The desk's running cost, side by side with plain Qt windows in one run, on a
# private Xvfb with openbox and a private session bus:
#  1. idle: the program with default settings (lock lights and always on top
#     on, nothing running) beside an empty Qt 6 window;
#  2. desk: the program with the scanner, the heartbeat, the lock lights and
#     always on top running beside the yardstick (a plain Qt window with seven
#     labels and one 100 ms timer).
# Each over N seconds (default 60). CPU time is what the scheduler counted
# for all the threads of a process (/proc/PID/task/*/schedstat), wake-ups the
# times its threads went to sleep and were woken (voluntary context
# switches): neither depends on how busy the machine is.
# Usage: bench/desk_cpu.sh [build-dir] [seconds]
set -eu
build=$(cd "${1:-build}" && pwd)
seconds=${2:-60}
program="$build/zb-sequenta"
empty="$build/bench/zb_empty_qt_window"
yardstick="$build/bench/zb_desk_yardstick"
for f in "$program" "$empty" "$yardstick"; do
    [ -x "$f" ] || { echo "not built: $f" >&2; exit 1; }
done

tmp=$(mktemp -d)
servers=""
clients=""
cleanup() {
    # The programs first, then the servers they use.
    for p in $clients; do kill "$p" 2>/dev/null || true; done
    for p in $clients; do wait "$p" 2>/dev/null || true; done
    for p in $servers; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

. "$(dirname "$0")/x_session.sh"
x_session_start
servers="$servers $x_session_pids"
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=4 4>"$tmp/dbus.pid")
export DBUS_SESSION_BUS_ADDRESS
servers="$servers $(cat "$tmp/dbus.pid")"
export QT_QPA_PLATFORM=xcb
XDG_RUNTIME_DIR="$tmp/run"
export XDG_RUNTIME_DIR
mkdir -m 700 "$XDG_RUNTIME_DIR"

# One line per thread of process $1: its id, nanoseconds on the CPU and
# wake-ups so far.
threads() {
    for t in /proc/"$1"/task/*; do
        id=${t##*/}
        ns=$(awk '{ print $1 }' "$t/schedstat" 2>/dev/null) || continue
        wk=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$t/status" 2>/dev/null) || continue
        [ -n "$ns" ] && [ -n "$wk" ] && echo "$id $ns $wk"
    done
}
# What the threads of a process used between two snapshots ($1, $2):
# "nanoseconds wake-ups". A thread that ended meanwhile (an idle pool thread
# expiring) is left out; one that began counts from zero.
used() {
    awk 'NR == FNR { ns[$1] = $2; wk[$1] = $3; next }
         { n += $2 - ns[$1]; w += $3 - wk[$1] }
         END { printf "%.0f %d\n", n, w }' "$1" "$2"
}

# Measures processes $1 (the program) and $2 (its baseline) over the stretch
# and prints one line each: name, CPU ms per minute, wake-ups per second.
measure() {
    threads "$1" >"$tmp/a0"; threads "$2" >"$tmp/b0"
    sleep "$seconds"
    threads "$1" >"$tmp/a1"; threads "$2" >"$tmp/b1"
    set -- "$(used "$tmp/a0" "$tmp/a1")" "$(used "$tmp/b0" "$tmp/b1")" "$3" "$4" "$5"
    awk -v s="$seconds" -v a="$1" -v b="$2" -v n1="$3" -v n2="$4" -v goal="$5" 'BEGIN {
        split(a, x, " "); split(b, y, " ")
        printf "%-22s %14s %12s\n", "", "CPU ms/min", "wake-ups/s"
        printf "%-22s %14.2f %12.2f\n", n1, x[1] / 1e6 * 60 / s, x[2] / s
        printf "%-22s %14.2f %12.2f\n", n2, y[1] / 1e6 * 60 / s, y[2] / s
        if (goal == "ratio") {
            if (y[1] > 0) printf "ratio: %.2f x the yardstick (goal: at most 1.3)\n", x[1] / y[1]
        } else {
            printf "goal: at most 1 wake-up/s and 5 ms CPU/min: %s\n", (x[2] / s <= 1 && x[1] / 1e6 * 60 / s <= 5) ? "met" : "NOT met"
        }
    }'
}

start() { # name config... : starts the program under its own settings
    name=$1; shift
    mkdir -p "$tmp/$name/ZB-SEQUENTA"
    printf '[%s]\n' "$name" >"$tmp/$name/ZB-SEQUENTA/ZB-SEQUENTA.ini"
    for line in "$@"; do printf '%s\n' "$line" >>"$tmp/$name/ZB-SEQUENTA/ZB-SEQUENTA.ini"; done
    ln -sf "$program" "$tmp/$name/$name"
    XDG_CONFIG_HOME="$tmp/$name" XDG_STATE_HOME="$tmp/$name" "$tmp/$name/$name" &
}

# 1. Idle, default settings.
start idle
zb=$!
clients="$clients $zb"
sleep 1
"$empty" &
base=$!
clients="$clients $base"
sleep 3 # both on the screen and settled
echo "idle, default settings, over $seconds s:"
measure "$zb" "$base" "zb-sequenta" "empty Qt window" goal
kill "$zb" "$base"; wait "$zb" "$base" 2>/dev/null || true

# 2. The desk running. The yardstick comes up later and takes the foreground,
# so that always on top has another program's window to demote.
start desk KITT_AUTOSTART_TICKBOX=1 AlwaysOnTopTimer_TICKBOX=1
zb=$!
clients="$clients $zb"
sleep 1
"$yardstick" &
ys=$!
clients="$clients $ys"
sleep 3
above=no
if xprop -name "ZB-SEQUENTA - desk" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; then
    above=yes
fi
echo
echo "desk running (main window above: $above), over $seconds s:"
measure "$zb" "$ys" "zb-sequenta" "yardstick" ratio
