#!/usr/bin/env bash
# The cold start-up of the window on an X display beside that of a bare Qt
# window of the same size with one label and one field (bench/startup_bare),
# the two run in turn, then the resident memory of the real program once its
# window is up. The budget is the probe's wall time to the exposed window
# (README.md, Performance). Times on a shared machine swing by half between
# runs: the script prints medians, and the instructions that callgrind counts,
# which do not swing, where valgrind is installed. The bare window shows what
# the window's own content costs.
# Needs xvfb and xdotool:  xvfb-run -a bench/startup.sh [build] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
probe=$(mktemp)
bare=$(mktemp)
trap 'rm -f "$probe" "$bare"' EXIT
for ((run = 1; run <= runs; run++)); do
    LANSHI_LAUNCHED_NS=$(date +%s%N) "$build/bench/startup_probe" 2>/dev/null | tee -a "$probe"
    LANSHI_LAUNCHED_NS=$(date +%s%N) "$build/bench/startup_bare" 2>/dev/null >>"$bare"
done
median() { # the median of the numbers after `$1 ` in each line of file $2
    sed -n "s/.*$1 \([0-9.]*\).*/\1/p" "$2" | sort -n | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { # $1 / $2, to two decimals
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}
cpu=$(median cpu "$probe")
cpuBare=$(median cpu "$bare")
wall=$(median after "$probe")
wallBare=$(median after "$bare")
echo "median of $runs: cpu $cpu ms vs bare $cpuBare ms ($(ratio "$cpu" "$cpuBare")×)," \
    "wall $wall ms vs bare $wallBare ms ($(ratio "$wall" "$wallBare")×)"
# Instructions, which do not swing with the machine's load: callgrind's count
# for each program's process, once (a forked child that only runs
# dbus-launch reports its own, smaller count).
if command -v valgrind >/dev/null; then
    instructions() {
        LANSHI_LAUNCHED_NS=$(date +%s%N) valgrind --tool=callgrind --callgrind-out-file=/dev/null \
            "$1" 2>&1 >/dev/null | sed -n 's/.*Collected : \([0-9]*\).*/\1/p' | sort -n | tail -1
    }
    instr=$(instructions "$build/bench/startup_probe")
    instrBare=$(instructions "$build/bench/startup_bare")
    echo "instructions: $instr vs bare $instrBare ($(ratio "$instr" "$instrBare")×)"
fi
if [[ ! -x "$build/lanshi" ]]; then
    echo "lanshi resident: not measured ($build/lanshi is not built)"
    exit 0
fi
"$build/lanshi" 2>/dev/null &
pid=$!
for ((wait = 0; wait < 1000; wait++)); do
    xdotool search --onlyvisible --name "2011423" >/dev/null 2>&1 && break
    sleep 0.01
done
sleep 0.5
echo "lanshi resident: $(($(awk '/VmRSS/ { print $2 }' "/proc/$pid/status") / 1024)) MB"
kill "$pid"
wait "$pid" 2>/dev/null || true
