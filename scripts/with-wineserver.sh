#!/bin/sh
# Runs a command with a persistent wineserver for PREFIX, stopped at the end
# (one that another command keeps up for PREFIX is shared and left running).
# Usage: with-wineserver.sh PREFIX COMMAND...
# PREFIX may be relative (Wine wants it absolute: it is made so) and is
# created when missing. Says why when it cannot start.
set -eu
fail() { echo "with-wineserver.sh: $*" >&2; exit 1; }
[ $# -ge 2 ] || fail "usage: with-wineserver.sh PREFIX COMMAND..."
prefix=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
for tool in wine wineserver wineboot; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed; run scripts/install-packages.sh"
done
case $prefix in
    /*) ;;
    *) prefix=$(pwd)/$prefix ;;
esac
# The program to run: a command, or for "wine PROGRAM" a program of the
# build (a Windows path or built-in is left to Wine).
if [ "$1" = wine ]; then
    case ${2:-} in
        */*) [ -e "$2" ] || fail "$2 does not exist (build it first: scripts/build.sh)" ;;
    esac
else
    case $1 in
        */*) [ -e "$1" ] || fail "$1 does not exist" ;;
        *) command -v "$1" >/dev/null 2>&1 || fail "no such command: $1" ;;
    esac
fi
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/wine-prefix.sh" "$prefix" || fail "cannot make the Wine prefix $prefix"
# Detached from every pipe: Wine's background services inherit the first
# program's handles, and a reader of our output would wait for them.
if wineserver -p </dev/null >/dev/null 2>&1; then
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT INT TERM
else
    # Another command keeps a server up for this prefix: share it, leave it running.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || fail "wineserver does not start for the prefix $prefix"
fi
status=0
"$@" || status=$?
exit $status
