#!/bin/sh
# Runs a benchmark in its quick mode under Wine and checks that it ran and
# printed its figures: it must exit 0 and print a line matching each
# PATTERN (grep -E). Never a time threshold. Used by ctest.
# Usage: check-bench.sh PROGRAM.exe PATTERN...
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 2 ] || { echo "usage: check-bench.sh PROGRAM.exe PATTERN..." >&2; exit 1; }
program=$1; shift
output=$("$here/wine-run.sh" "$program" --quick 2>&1) || {
    status=$?
    printf '%s\n' "$output"
    echo "check-bench.sh: $(basename "$program") --quick ended with $status" >&2
    exit 1
}
printf '%s\n' "$output"
for pattern in "$@"; do
    printf '%s\n' "$output" | grep -Eq -- "$pattern" || {
        echo "check-bench.sh: no line matches: $pattern" >&2
        exit 1
    }
done
