#!/bin/sh
# What `--last` costs on a full journal: a copy's journal of 1 MB (the size
# at which it is moved aside), made of unattended passes of twenty slots,
# read N times (default 50) by `zb-sequenta --last`, side by side in the same
# run with `tail -n1` and `cat` of the same file and with `--version` (the
# program's own start, without the journal).
# Usage: bench/last_pass.sh [build-dir] [runs]
set -eu
build=$(cd "${1:-build}" && pwd)
runs=${2:-50}
program="$build/zb-sequenta"
[ -x "$program" ] || { echo "not built: $program" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
ln -s "$program" "$tmp/nightly"
journal="$tmp/state/ZB-SEQUENTA/nightly-runs.log"
mkdir -p "$(dirname "$journal")"

# Passes one day apart until the file holds 1 MB.
awk -v limit=1048576 'BEGIN {
    bytes = 0
    for (day = 0; bytes < limit; ++day) {
        t = sprintf("2026-%02d-%02dT02:00", 1 + int(day / 28) % 12, 1 + day % 28)
        line[0] = t ":11+01:00 pass-started by=autostart"
        line[1] = t ":11+01:00 email-started email=start pid=" 40000 + day " script=/home/me/jobs/BATS/nightly-START-EMAIL.sh"
        n = 2
        for (s = 1; s <= 20; ++s) {
            if (s % 4 == 1) {
                line[n++] = t ":" sprintf("%02d", 11 + s) "+01:00 task-started task=" s " pid=" 50000 + s " command=\"/usr/local/bin/job --slot " s "\" output=/home/me/.local/state/ZB-SEQUENTA/output/nightly/2026-task-" s ".log"
                line[n++] = t ":" sprintf("%02d", 12 + s) "+01:00 task-ended task=" s " pid=" 50000 + s " status=0 ran-ms=812"
            } else
                line[n++] = t ":" sprintf("%02d", 11 + s) "+01:00 task-skipped task=" s
        }
        line[n++] = t ":32+01:00 chain-ended"
        line[n++] = t ":43+01:00 email-started email=end pid=" 60000 + day " script=/home/me/jobs/BATS/nightly-END-EMAIL.sh"
        line[n++] = t ":43+01:00 autoclosed last-run=\"COMPLETED SUCCESSFULLY\""
        line[n++] = t ":45+01:00 email-ended email=end pid=" 60000 + day " status=0 ran-ms=1840"
        for (i = 0; i < n; ++i) { print line[i]; bytes += length(line[i]) + 1 }
    }
}' >"$journal"

# Mean wall time of one run of the command, in milliseconds.
mean_ms() {
    start=$(date +%s%N)
    i=0
    while [ $i -lt "$runs" ]; do
        "$@" >/dev/null
        i=$((i + 1))
    done
    end=$(date +%s%N)
    echo "$(( (end - start) / runs / 1000 ))" | awk '{ printf "%.2f", $1 / 1000 }'
}

export XDG_STATE_HOME="$tmp/state"
"$tmp/nightly" --last >/dev/null # warm the page cache and the loader
status=0
"$tmp/nightly" --last >/dev/null || status=$?
printf 'journal: %d bytes, %d lines, %d passes; --last exits %d\n' "$(wc -c <"$journal")" "$(wc -l <"$journal")" \
    "$(grep -c ' pass-started ' "$journal")" "$status"
printf '%-34s %8s ms\n' "zb-sequenta --last" "$(mean_ms "$tmp/nightly" --last)"
printf '%-34s %8s ms\n' "zb-sequenta --version (no journal)" "$(mean_ms "$tmp/nightly" --version)"
printf '%-34s %8s ms\n' "tail -n1 (same file)" "$(mean_ms tail -n1 "$journal")"
printf '%-34s %8s ms\n' "cat (same file)" "$(mean_ms cat "$journal")"
