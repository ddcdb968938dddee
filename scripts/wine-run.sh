#!/bin/sh
# Runs a Windows program of the build under Wine; CMake's emulator for tests.
# The prefix is the build's own (BUILD/wineprefix beside BUILD/win32 and
# BUILD/win64, made on first use) unless OMBRIX_WINEPREFIX names another.
# A 64-bit program is started by Wine's 64-bit loader directly: /usr/bin/wine
# cannot start one from a path longer than 260 characters (and the 64-bit
# loader cannot start a 32-bit one from there).
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$exe")/.." && pwd)
case $build in
    */win32 | */win64) build=${build%/*} ;;
esac
. "$here/wine-env.sh"
use_wine_prefix "${OMBRIX_WINEPREFIX:-$build/wineprefix}"
"$here/wine-prefix.sh" "$WINEPREFIX"
# PE32+ (optional header magic 0x20b) is a 64-bit program.
header=$(od -An -tu4 -j60 -N4 "$exe" 2>/dev/null | tr -d ' ') || header=""
magic=""
[ -z "$header" ] || magic=$(od -An -tx2 -j$((header + 24)) -N2 "$exe" 2>/dev/null | tr -d ' ')
if [ "$magic" = 020b ] && [ -x /usr/lib/wine/wine64 ]; then
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
