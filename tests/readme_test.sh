#!/usr/bin/env bash
# The install commands of the READMEs, as a reader copies them: none begins
# with a bare "sudo", which fails as root on a system without sudo (a fresh
# container), and the line that chooses sudo chooses none for root.
#   tests/readme_test.sh README.md README.zh-CN.md
set -u
failures=0
for readme in "$@"; do
    # The commands are the indented lines of the code blocks.
    while IFS= read -r line; do
        echo "FAIL: $readme: a command needs sudo even as root: $line" >&2
        failures=$((failures + 1))
    done < <(grep -E '^    +sudo ' "$readme")
    chooser=$(grep -E '^    +sudo=' "$readme" | head -n 1)
    if grep -qE '^    +\$sudo ' "$readme"; then
        if [ -z "$chooser" ]; then
            echo "FAIL: $readme: \$sudo is used but never set" >&2
            failures=$((failures + 1))
        else
            as_root=$(bash -c "id() { echo 0; }"$'\n'"$chooser"$'\n''echo "[$sudo]"')
            as_user=$(bash -c "id() { echo 1000; }"$'\n'"$chooser"$'\n''echo "[$sudo]"')
            if [ "$as_root" != "[]" ] || [ "$as_user" != "[sudo]" ]; then
                echo "FAIL: $readme: '$chooser' gives $as_root as root, $as_user as a user" >&2
                failures=$((failures + 1))
            fi
        fi
    fi
done
[ "$failures" -eq 0 ] && echo "the install commands work as root and as a user" || exit 1
