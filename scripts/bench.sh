#!/bin/sh
# Builds what is missing, then runs every benchmark under Wine, one after
# another, with one persistent wineserver; each prints its own figures.
# Usage: scripts/bench.sh [--quick] [BUILD_DIR]
#   --quick   short runs (seconds): they show the programs work, not figures
# Runs the 32-bit programs (BUILD/win32), then the 64-bit ones (BUILD/win64).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
quick=""
if [ "${1:-}" = --quick ]; then
    quick=--quick
    shift
fi
build=${1:-$root/build}
case $build in
    /*) ;;
    *) build=$(pwd)/$build ;;
esac
"$root/scripts/build.sh" "$build"
prefix=${OMBRIX_WINEPREFIX:-$build/wineprefix}
# Both architectures' programs: each prints its own ratios.
set -- "$build"/win32/bin/*Bench.exe "$build"/win64/bin/*Bench.exe
[ -e "$1" ] || { echo "bench.sh: no benchmark programs in $build/win32/bin" >&2; exit 1; }
exec "$root/scripts/with-wineserver.sh" "$prefix" sh -c '
    quick=$1; shift
    failed=0
    for program in "$@"; do
        echo "== $(basename "$(dirname "$(dirname "$program")")") $(basename "$program" .exe) $quick"
        wine "$program" $quick </dev/null || { echo "   (ended with $?)"; failed=1; }
        echo
    done
    exit $failed' bench "$quick" "$@"
