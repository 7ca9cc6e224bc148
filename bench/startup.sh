#!/usr/bin/env bash
# The cold start-up of the window on an X display, five times, phase by
# phase (bench/startup_probe), then the resident memory of the real program
# once its window is up. Needs xvfb and xdotool:  xvfb-run -a bench/startup.sh
set -euo pipefail
build=${1:-build}
for run in 1 2 3 4 5; do
    LANSHI_LAUNCHED_NS=$(date +%s%N) "$build/bench/startup_probe" 2>/dev/null
done
"$build/lanshi" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name "2011423" >/dev/null 2>&1; do
    sleep 0.01
done
sleep 0.5
echo "lanshi resident: $(($(awk '/VmRSS/ { print $2 }' "/proc/$pid/status") / 1024)) MB"
kill "$pid"
wait "$pid" 2>/dev/null || true
