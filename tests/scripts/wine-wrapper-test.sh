#!/bin/sh
# The Wine wrapper as the README uses it, from a build folder: a relative
# prefix works, and a missing program, command or Wine is named.
# Usage: wine-wrapper-test.sh WRAPPER FOLDER   (FOLDER holds the prefix "wineprefix")
set -u
wrapper=$1
cd "$2"
failures=0
expect() {  # expect STATUS TEXT COMMAND...: exit status and a line of output
    status=$1 text=$2
    shift 2
    output=$("$@" 2>&1)
    got=$?
    if [ "$got" -ne "$status" ] || ! printf '%s\n' "$output" | grep -qF -- "$text"; then
        echo "FAILED: $* gave $got and: $output (wanted $status and '$text')"
        failures=$((failures + 1))
    fi
}
expect 0 relative-prefix-ok "$wrapper" wineprefix wine cmd /c echo relative-prefix-ok
expect 1 "bin/missing.exe does not exist" "$wrapper" wineprefix wine bin/missing.exe
expect 1 "no such command: no-such-command" "$wrapper" wineprefix no-such-command
# Without Wine on the PATH (only what the wrapper itself needs).
tools=$(mktemp -d)
ln -s "$(command -v dirname)" "$tools/dirname"
expect 1 "'wine' is not installed" env PATH="$tools" /bin/sh "$wrapper" wineprefix wine cmd /c exit
rm -rf "$tools"
[ "$failures" -eq 0 ] && echo "all cases passed"
exit "$failures"
