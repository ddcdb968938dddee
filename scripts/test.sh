#!/bin/sh
# Builds both architectures and runs every test under Wine against each, with
# one persistent wineserver and one (64-bit) prefix for the whole run. Tests
# that do not depend on the architecture (labelled "neutral": the scripts, the
# include rooms, the installer) run once, in the 32-bit tree.
# OMBRIX_ARCHS="win32" (or "win64") builds and tests one only.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)  # the tests run in folders of their own
prefix=${OMBRIX_WINEPREFIX:-$build/wineprefix}
# Every test of both trees, and the scripts they run, use this one prefix.
OMBRIX_WINEPREFIX=$prefix
export OMBRIX_WINEPREFIX
archs=${OMBRIX_ARCHS:-win32 win64}
# Code page 1252 and UTF-8 Unix names for every test, whatever the caller's
# locale (scripts/wine-env.sh); tests that want a language set their own.
LC_ALL=C.UTF-8
export LC_ALL
exec "$root/scripts/with-wineserver.sh" "$prefix" sh -c '
    build=$1; shift
    failed=""
    neutral=""
    for arch in "$@"; do
        echo "== $arch: $build/$arch"
        ctest --test-dir "$build/$arch" --output-on-failure --timeout 600 $neutral || failed="$failed $arch"
        neutral="-LE neutral"
    done
    [ -z "$failed" ] || { echo "tests failed in:$failed" >&2; exit 1; }
' sh "$build" $archs
