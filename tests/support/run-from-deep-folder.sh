#!/bin/sh
# Runs a test program of the build from a copy of it in a folder whose path is
# longer than any path the module holds, for tests of a host that cannot tell
# its own path. The copy is told where the build's programs are.
# Usage: run-from-deep-folder.sh PROGRAM.exe [ARGUMENTS...]
set -eu
program=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$(dirname "$program")" && pwd)
export OMBRIX_WINEPREFIX="${OMBRIX_WINEPREFIX:-$(dirname "$bin")/wineprefix}"
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT INT TERM
deep=$top
while [ ${#deep} -lt 300 ]; do deep=$deep/deeper-than-the-host-path-limit; done
mkdir -p "$deep"
cp "$program" "$deep/"
export WINEPREFIX="$OMBRIX_WINEPREFIX" WINEDEBUG=-all
OMBRIX_TEST_BUILD_FOLDER="$(winepath -w "$bin")\\"
export OMBRIX_TEST_BUILD_FOLDER
"$here/../../scripts/wine-run.sh" "$deep/$(basename "$program")" "$@"
