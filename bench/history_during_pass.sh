#!/bin/sh
# History on large journals, with the real program on a private Xvfb with
# openbox, driven by keys as a person would drive it:
#  1. the launch gaps of a twenty-slot pass while History opens on a journal
#     whose rotated part is 100 MB (goal: every gap 2.0 +- 0.1 s);
#  2. the program's memory (RSS) before History opens, once it is open, and
#     after it closed, on journals of 1, 10 and 100 MB, with the peak.
# Usage: bench/history_during_pass.sh [build-dir] [big-MB]
set -eu
build=$(cd "${1:-build}" && pwd)
big=${2:-100}
program="$build/zb-sequenta"
keys="$build/bench/zb_press_keys"
for f in "$program" "$keys"; do
    [ -x "$f" ] || { echo "not built: $f" >&2; exit 1; }
done

. "$(dirname "$0")/x_session.sh"
bench_desktop_start
mkdir -p "$XDG_CONFIG_HOME/ZB-SEQUENTA" "$XDG_STATE_HOME/ZB-SEQUENTA"

# A journal of unattended twenty-slot passes, one a day, of $2 MB, as an
# older version could have left it.
plant_journal() {
    awk -v limit=$(($2 * 1048576)) 'BEGIN {
        bytes = 0
        for (day = 0; bytes < limit; ++day) {
            t = sprintf("%04d-%02d-%02dT02:00", 2000 + int(day / 336), 1 + int(day / 28) % 12, 1 + day % 28)
            print t ":11+01:00 pass-started by=autostart"; bytes += 44
            for (s = 1; s <= 20; ++s) {
                l = t ":" sprintf("%02d", 11 + s) "+01:00 task-started task=" s " pid=" 50000 + s \
                    " command=\"/usr/local/bin/job --slot " s "\" output=/home/me/.local/state/job-" s ".log"
                print l; bytes += length(l) + 1
                l = t ":" sprintf("%02d", 12 + s) "+01:00 task-ended task=" s " pid=" 50000 + s " status=0 ran-ms=812"
                print l; bytes += length(l) + 1
            }
            print t ":32+01:00 chain-ended"; bytes += 36
        }
    }' >"$XDG_STATE_HOME/ZB-SEQUENTA/$1-runs.log.1"
}

# Starts copy $1 of the program, waits for its window and prints its pid.
start_copy() {
    ln -sf "$program" "$tmp/$1"
    "$tmp/$1" >/dev/null 2>&1 &
    started=$!
    pids="$started $pids"
    until xwininfo -name "ZB-SEQUENTA - $1" >/dev/null 2>&1; do sleep 0.1; done
    sleep 1 # settled, with the focus
    echo "$started"
}
# The number of windows the window manager manages: History adds one.
clients() { xprop -root _NET_CLIENT_LIST | tr ',' '\n' | grep -c 0x; }
# Opens History with its Alt key and checks that a window came.
open_history() {
    had=$(clients)
    "$keys" alt+h
    sleep 1
    [ "$(clients)" -gt "$had" ] || echo "History did not open" >&2
}
rss() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
peak() { awk '/^VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

echo "== History opened during a twenty-slot pass, rotated journal of $big MB"
cat >"$tmp/mark.sh" <<MARK
#!/bin/sh
date +%s%N >>"$tmp/launches"
MARK
chmod +x "$tmp/mark.sh"
{
    echo "[pass]"
    n=1
    while [ $n -le 20 ]; do
        echo "TASK_${n}_ENABLE_TICKBOX=1"
        echo "TASK_${n}_CMD=$tmp/mark.sh"
        n=$((n + 1))
    done
} >"$XDG_CONFIG_HOME/ZB-SEQUENTA/ZB-SEQUENTA.ini"
plant_journal pass "$big"
zb=$(start_copy pass)
"$keys" Return # START has the focus
sleep 3
opened=$(date +%s%N)
open_history
sleep 7
"$keys" Escape
closed=$(date +%s%N)
waited=0
until [ "$(wc -l <"$tmp/launches" 2>/dev/null || echo 0)" -ge 20 ] || [ $waited -ge 120 ]; do
    sleep 1
    waited=$((waited + 1))
done
kill "$zb" 2>/dev/null || true
sort -n "$tmp/launches" | awk -v o="$opened" -v c="$closed" '
    NR > 1 { g = ($1 - prev) / 1e9; gaps[++n] = g; if (prev < c && $1 > o) { during[++m] = g } }
    { prev = $1 }
    END {
        if (n == 0) { print "no launches"; exit }
        min = max = gaps[1]; for (i = 1; i <= n; ++i) { if (gaps[i] < min) min = gaps[i]; if (gaps[i] > max) max = gaps[i] }
        dmax = 0; for (i = 1; i <= m; ++i) if (during[i] > dmax) dmax = during[i]
        printf "launches: %d; gaps %.3f to %.3f s; longest while History was open: %.3f s (%d gaps)\n", n + 1, min, max, dmax, m
    }'

echo
echo "== History's memory (RSS, MB) by journal size"
printf '%-10s %10s %10s %10s %10s\n' "journal" "before" "open" "closed" "peak"
for mb in 1 10 "$big"; do
    name="mem$mb"
    plant_journal "$name" "$mb"
    zb=$(start_copy "$name")
    before=$(rss "$zb")
    open_history
    sleep 2
    open=$(rss "$zb")
    "$keys" Escape
    sleep 2
    printf '%-10s %10s %10s %10s %10s\n' "$mb MB" "$before" "$open" "$(rss "$zb")" "$(peak "$zb")"
    kill "$zb" 2>/dev/null || true
done
