#!/usr/bin/env bash
# Instructions executed per calculation, counted by callgrind: each benchmark
# runs under valgrind with the count switched on only inside calculate(), and
# the total is divided by the number of calls. Unlike times, the figures do
# not move with the machine's load.  Needs valgrind:  bench/instructions.sh [build]
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
perCall() { # binary benchmark function
    valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect="$3" \
        "$build/bench/$1" --benchmark_filter="^$2\$" --benchmark_min_time=0.5 >/dev/null \
        2>"$out/log"
    local total
    total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/log")
    # The calls into the function, summed over every place that calls it.
    awk -v name="$3" -v total="$total" -v bench="$2" '
        match($0, /^c?fn=\([0-9]+\)/) {
            id = substr($0, RSTART, RLENGTH); sub(/^c?fn=/, "", id)
            rest = substr($0, RLENGTH + 2)
            if (rest == name) wanted[id] = 1
            calling = ($0 ~ /^cfn=/) && (id in wanted)
            next
        }
        calling && /^calls=/ { split($1, c, "="); calls += c[2]; calling = 0 }
        END { printf "%-24s %6d instructions per call (%d calls)\n", bench, total / calls, calls }
    ' "$out/cg"
}
perCall bench_calculate BM_Calculate_Defaults 'calc::calculate(calc::Sheet&)'
perCall bench_calculate BM_Calculate_Stop 'calc::calculate(calc::Sheet&)'
perCall bench_report BM_Calculate_NoTrace 'calc::calculate(calc::Sheet&)'
perCall bench_report BM_Calculate_WithTrace 'calc::calculate(calc::Sheet&, calc::Trace&)'
