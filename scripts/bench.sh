#!/bin/sh
# Builds what is missing, then runs every benchmark under Wine, one after
# another, with one persistent wineserver; each prints its own figures.
# Usage: scripts/bench.sh [--quick] [BUILD_DIR]
#   --quick   short runs (seconds): they show the programs work, not figures
# The full run takes about ten minutes, most of it the largest-image search.
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
set -- "$build"/bin/*Bench.exe
[ -e "$1" ] || { echo "bench.sh: no benchmark programs in $build/bin" >&2; exit 1; }
exec "$root/scripts/with-wineserver.sh" "$prefix" sh -c '
    quick=$1; shift
    failed=0
    for program in "$@"; do
        echo "== $(basename "$program" .exe) $quick"
        wine "$program" $quick </dev/null || { echo "   (ended with $?)"; failed=1; }
        echo
    done
    exit $failed' bench "$quick" "$@"
