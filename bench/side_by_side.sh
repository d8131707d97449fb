#!/bin/sh
# Side by side in one run, each against its baseline:
#  1. the P-4-P poll against `pgrep -x` at 600 and 3,000 processes: the first
#     query (prepared ahead, as the program does, and cold) and later ones;
#  2. start-up, exec to the mapped window, against an empty Qt 6 window and
#     one showing a line of text;
#  3. idle wake-ups with default settings while a window in front changes
#     its title every second (a terminal showing a clock), beside an empty
#     Qt 6 window, on a private Xvfb with openbox;
#  4. History on large journals (bench/history_during_pass.sh): the launch
#     gaps of a twenty-slot pass while it opens on 100 MB, and its memory on
#     1, 10 and 100 MB journals.
# Usage: bench/side_by_side.sh [build-dir] [seconds] [start-up runs]
set -eu
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
runs=${3:-20}
here=$(cd "$(dirname "$0")" && pwd)
program="$build/zb-sequenta"
empty="$build/bench/zb_empty_qt_window"
clock="$build/bench/zb_title_clock"
for f in "$program" "$empty" "$clock" "$build/bench/zb_process_query_bench" "$build/bench/zb_startup_bench"; do
    [ -x "$f" ] || { echo "not built: $f" >&2; exit 1; }
done

echo "== 1. P-4-P poll against pgrep"
"$build/bench/zb_process_query_bench" --side-by-side 600 3000

echo
echo "== 2. Start-up against an empty Qt 6 window and one with a label ($runs runs each)"
"$here/../tools/startup-bench.sh" "$build" "$runs"

echo
echo "== 3. Idle wake-ups with a title clock in front, over $seconds s"
. "$(dirname "$0")/x_session.sh"
bench_desktop_start

# Wake-ups: voluntary context switches of the threads of a process, one
# line per thread; between two snapshots a thread that ended meanwhile is
# left out and one that began counts from zero.
wakeups() {
    for t in /proc/"$1"/task/*; do
        awk -v id="${t##*/}" '/^voluntary_ctxt_switches/ { print id, $2 }' "$t/status" 2>/dev/null || true
    done
}
woken() { awk 'NR == FNR { n[$1] = $2; next } { w += $2 - n[$1] } END { print w + 0 }' "$1" "$2"; }

"$program" >/dev/null 2>&1 &
zb=$!
pids="$zb $pids"
"$empty" &
base=$!
pids="$base $pids"
sleep 3
"$clock" "terminal clock" &
pids="$! $pids"
sleep 3 # in front and settled
wakeups "$zb" >"$tmp/z0"; wakeups "$base" >"$tmp/b0"
sleep "$seconds"
wakeups "$zb" >"$tmp/z1"; wakeups "$base" >"$tmp/b1"
active=$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }')
echo "in front: $(xprop -id "$active" WM_NAME 2>/dev/null | cut -d'"' -f2)"
awk -v s="$seconds" -v z="$(woken "$tmp/z0" "$tmp/z1")" -v b="$(woken "$tmp/b0" "$tmp/b1")" 'BEGIN {
    printf "%-18s %12s\n", "", "wake-ups/s"
    printf "%-18s %12.2f\n", "zb-sequenta", z / s
    printf "%-18s %12.2f\n", "empty Qt window", b / s
}'

# The idle copies are done with before the next section's run.
bench_desktop_stop
trap - EXIT INT TERM

echo
echo "== 4. History on large journals, in the real program"
"$here/history_during_pass.sh" "$build"
