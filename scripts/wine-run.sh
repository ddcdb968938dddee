#!/bin/sh
# Runs a Windows program of the build under Wine; CMake's emulator for tests.
# The prefix is the build's own (BUILD/wineprefix beside BUILD/win32 and
# BUILD/win64, made on first use) unless OMBRIX_WINEPREFIX names another.
# Wine's 64-bit loader is started directly: it runs 32- and 64-bit programs,
# and /usr/bin/wine cannot start a 64-bit program from a path longer than 260
# characters.
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
if [ -x /usr/lib/wine/wine64 ]; then
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
