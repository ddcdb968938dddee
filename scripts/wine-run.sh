#!/bin/sh
# Runs a Windows program of the build under Wine; CMake's emulator for tests.
# The prefix is the build's own (BUILD/wineprefix, made on first use) unless
# OMBRIX_WINEPREFIX names another.
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$exe")/.." && pwd)
. "$here/wine-env.sh"
use_wine_prefix "${OMBRIX_WINEPREFIX:-$build/wineprefix}"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec wine "$@"
