#!/bin/sh
# Builds everything and runs every test under Wine, with one persistent
# wineserver for the whole run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/build.sh" "$build"
prefix=${OMBRIX_WINEPREFIX:-$build/wineprefix}
exec "$root/scripts/with-wineserver.sh" "$prefix" \
    ctest --test-dir "$build" --output-on-failure --timeout 600
