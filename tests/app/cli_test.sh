#!/usr/bin/env bash
# The program's command line as a user meets it: what it prints, and its exit
# status, with no display at all.
#   tests/app/cli_test.sh path/to/lanshi
set -u
lanshi=$1
failures=0
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# expect STATUS STREAM PATTERN -- ARGS...: runs without any display.
expect() {
    local status=$1 stream=$2 pattern=$3
    shift 4
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lanshi" "$@" >"$out" 2>"$err"
    local got=$?
    local text
    text=$(cat "$([ "$stream" = out ] && echo "$out" || echo "$err")")
    if [ "$got" -ne "$status" ] || ! grep -qF -- "$pattern" <<<"$text"; then
        echo "FAIL: lanshi $*: status $got (want $status), $stream: $text" >&2
        failures=$((failures + 1))
    fi
    # What fails says so in one line.
    if [ "$status" -ne 0 ] && [ "$(wc -l <"$err")" -ne 1 ]; then
        echo "FAIL: lanshi $*: not one line on standard error: $(cat "$err")" >&2
        failures=$((failures + 1))
    fi
}

expect 0 out "--version" -- --help
expect 0 out "普通澜石 " -- --version
expect 2 err "未知的选项“--bogus”" -- --bogus
expect 2 err "一次只能打开一个设计文件" -- a.lanshi b.lanshi
expect 1 err "没有可用的图形显示" -- design.lanshi
expect 1 err "没有可用的图形显示" --

[ "$failures" -eq 0 ] && echo "the command line behaves" || exit 1
