#!/bin/sh
# Makes a corpus of damaged files (scripts/make-corpus.py) and imports every
# file through the module with the in-process fake host (corpus_harness.exe
# under Wine), then prints the table of outcomes and every fault. Exits 1 when
# a file crashed, hung, left something held or was delivered as an invented
# picture. Usage: corpus-run.sh [BUILD_DIR] [COUNT] [SEED]   (300 files, seed 1)
#            corpus-run.sh BUILD_DIR --folder DIR   (the files of DIR's manifest.txt)
# BUILD_DIR is BUILD (its win32 tree, or OMBRIX_ARCH=win64's) or a tree.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || { echo "corpus-run.sh: no build folder ${1:-$root/build}; run scripts/build.sh first" >&2; exit 2; }
count=${2:-300}
seed=${3:-1}
# BUILD (the 32-bit tree in it, or OMBRIX_ARCH's) or one architecture's tree.
[ -d "$build/bin" ] || build=$build/${OMBRIX_ARCH:-win32}
harness="$build/bin/corpus_harness.exe"
[ -f "$harness" ] || { echo "corpus-run.sh: $harness is missing; run scripts/build.sh $build first" >&2; exit 2; }
sources=${OMBRIX_DECODER_SOURCES:-${OMBRIX_DEPS_CACHE:-$HOME/.cache/ombrix-deps}/sources}
[ -d "$sources" ] || { echo "corpus-run.sh: no source packages in $sources (the decoder build downloads them)" >&2; exit 2; }
# Debian's interpreter: the one python3-pil installs into.
python=/usr/bin/python3
[ -x "$python" ] || python=python3

if [ "$count" = --folder ]; then
    corpus=$(cd "$3" && pwd)
else
    corpus="$build/corpus-$seed-$count"
    "$python" "$root/scripts/make-corpus.py" --sources "$sources" --out "$corpus" --count "$count" --seed "$seed"
fi

# The prefix the tests and benchmarks use, beside the trees (BUILD/wineprefix).
trees=$build
case $trees in
    */win32 | */win64) trees=${trees%/*} ;;
esac
. "$root/scripts/wine-env.sh"
use_wine_prefix "${WINEPREFIX:-${OMBRIX_WINEPREFIX:-$trees/wineprefix}}"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
wine "$harness" "$(winepath -w "$corpus")" ${OMBRIX_CORPUS_BUDGET:-10} </dev/null
