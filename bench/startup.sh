#!/usr/bin/env bash
# Wall time from starting the program to its window being visible on an X
# display, and the resident memory of the running window; five runs.
# Needs xvfb, xdotool and x11-utils:  xvfb-run -a bench/startup.sh
set -euo pipefail
program=${1:-build/lanshi}
for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$program" 2>/dev/null &
    pid=$!
    until xdotool search --onlyvisible --name "2011423" >/dev/null 2>&1; do
        sleep 0.002
    done
    shown=$(date +%s%N)
    sleep 0.5
    rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
    echo "run $run: shown after $(((shown - start) / 1000000)) ms, resident $((rss / 1024)) MB"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
