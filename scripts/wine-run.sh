#!/bin/sh
# Runs a Windows program of the build under Wine; CMake's emulator for tests.
# The prefix is the build's own (BUILD/wineprefix, made on first use) unless
# OMBRIX_WINEPREFIX names another.
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$exe")/.." && pwd)
prefix=${OMBRIX_WINEPREFIX:-$build/wineprefix}
case $prefix in
    /*) ;;
    *) prefix=$(pwd)/$prefix ;;  # Wine takes only an absolute prefix
esac
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/wine-prefix.sh" "$WINEPREFIX"
exec wine "$@"
