#!/bin/sh
# Runs a command with a persistent wineserver for PREFIX, stopped at the end.
# Usage: with-wineserver.sh PREFIX COMMAND...
set -eu
prefix=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/wine-prefix.sh" "$prefix"
# Detached from every pipe: Wine's background services inherit the first
# program's handles, and a reader of our output would wait for them.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT INT TERM
status=0
"$@" || status=$?
exit $status
