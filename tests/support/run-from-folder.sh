#!/bin/sh
# Runs a test program of the build from a copy of it in a folder of a chosen
# kind, for tests of a host installed where no test program usually lives.
# The copy is told where the build's programs are.
#   deep     a path longer than Windows starts programs from
#   unicode  a folder named outside the ANSI code page (CJK, Polish, emoji)
# Usage: run-from-folder.sh deep|unicode PROGRAM.exe [ARGUMENTS...]
set -eu
kind=$1; shift
program=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$(dirname "$program")" && pwd)
export OMBRIX_WINEPREFIX="${OMBRIX_WINEPREFIX:-$(dirname "$bin")/wineprefix}"
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT INT TERM
case $kind in
    deep)
        folder=$top
        while [ ${#folder} -lt 300 ]; do folder=$folder/deeper-than-the-host-path-limit; done ;;
    unicode)
        # Unix names reach Wine as UTF-8 (scripts/wine-env.sh sets the locale).
        folder="$top/Image Host 写真 Łódź 📷" ;;
    *) echo "run-from-folder.sh: unknown kind '$kind' (deep, unicode)" >&2; exit 1 ;;
esac
mkdir -p "$folder"
cp "$program" "$folder/"
. "$here/../../scripts/wine-env.sh"
use_wine_prefix "$OMBRIX_WINEPREFIX"
OMBRIX_TEST_BUILD_FOLDER="$(winepath -w "$bin")\\"
export OMBRIX_TEST_BUILD_FOLDER
"$here/../../scripts/wine-run.sh" "$folder/$(basename "$program")" "$@"
