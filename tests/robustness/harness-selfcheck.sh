#!/bin/sh
# The harness sees what it is there to see: a worker made to crash, hang and
# leak at three files of a small corpus gives one crash, one hang and one
# leak in the table, and every other file is still imported.
# Usage: harness-selfcheck.sh BUILD_DIR
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
output=$(OMBRIX_HARNESS_INJECT="crash=3,hang=5,leak=7" OMBRIX_CORPUS_BUDGET=1 \
    sh "$root/scripts/corpus-run.sh" "$1" 20 2)
status=$?
echo "$output"
[ "$status" -eq 1 ] || { echo "selfcheck: exit status $status, expected 1"; exit 1; }
# files documents message3 message4 other crashes hangs leaks invented differ
echo "$output" | awk '$1 == 20 && NF == 10 {
        found = 1
        if ($2 + $3 + $4 + $5 + $6 + $7 != 20) { print "selfcheck: not every file classified"; exit 1 }
        if ($6 != 1 || $7 != 1 || $8 != 1) { print "selfcheck: expected 1 crash, 1 hang, 1 leak"; exit 1 }
    }
    END { if (!found) { print "selfcheck: no table"; exit 1 } }' || exit 1
for file in 00003 00005 00007; do
    echo "$output" | grep -q "^FAULT $file" || { echo "selfcheck: $file not reported"; exit 1; }
done
echo "selfcheck: passed"
