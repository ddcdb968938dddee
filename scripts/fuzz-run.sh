#!/bin/sh
# Fuzzes the decode path: builds the native sanitizer build of it
# (tests/fuzz/native) and runs its libFuzzer target, seeded with the base
# images of scripts/make-corpus.py, the seeds of tests/fuzz/make-seeds.py
# (metadata, thumbnails, frames of 1 to 255 components) and the regression
# files of earlier findings, with the JPEG and TIFF dictionaries. Prints
# executions, executions per second, coverage (edges) and the findings;
# exits 1 when there is a finding (a sanitizer report, a leak, a row unlike
# the picture, a timeout or running out of memory).
#
#   fuzz-run.sh [--time SECONDS] [--workers N] [--seed N] [--dir DIR] [--build DIR]
#   fuzz-run.sh --runs N [--seed N] [--fresh] [--dir DIR] [--build DIR]
#   fuzz-run.sh --build-only [--build DIR]
#
# --time: a run of that long (default 3600 s) with N workers (default: every
#   core), going on after a finding. --runs: N executions in this process,
#   stopping at the first finding (the bounded run of the tests); --fresh
#   starts from the seeds alone, so that the same seed gives the same run.
# --dir: where the grown corpus (corpus/), the findings (findings/) and the
#   log stay between runs: ${OMBRIX_FUZZ_DIR:-~/.cache/ombrix-fuzz}, outside
#   the repository. --build: the native build (default build/fuzz-native,
#   the one the tests of the trees in build/ build and run); --build-only
#   configures and builds it, nothing more.
# Like the test builds, the native build takes the newest library source the
# mirror serves where it lacks the one apt lists (OMBRIX_DEPS_ACCEPT_OLDER=0
# stops instead); it ships nothing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
time_limit=3600
runs=""
workers=$(nproc)
seed=1
fresh=0
dir=${OMBRIX_FUZZ_DIR:-$HOME/.cache/ombrix-fuzz}
build=$root/build/fuzz-native
build_only=0
while [ $# -gt 0 ]; do
    case $1 in
        --time) time_limit=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --workers) workers=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --fresh) fresh=1; shift ;;
        --dir) dir=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --build-only) build_only=1; shift ;;
        *) echo "fuzz-run.sh: unknown option $1 (see the top of $0)" >&2; exit 2 ;;
    esac
done

OMBRIX_DEPS_ACCEPT_OLDER=${OMBRIX_DEPS_ACCEPT_OLDER-1}
export OMBRIX_DEPS_ACCEPT_OLDER
. "$root/scripts/cmake-tree.sh"
mkdir -p "$build"
configure_tree "$root/tests/fuzz/native" "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-linux-sanitize.cmake" >&2
cmake --build "$build" --target decode_fuzz >&2 ||
    { echo "fuzz-run.sh: building the fuzz target in $build failed (the messages above say why)" >&2; exit 1; }
[ "$build_only" = 0 ] || exit 0
target=$build/decode_fuzz

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
[ "$fresh" = 0 ] || rm -rf "$dir/corpus" "$dir/findings"
mkdir -p "$dir/corpus" "$dir/findings"
sources=${OMBRIX_DECODER_SOURCES:-${OMBRIX_DEPS_CACHE:-$HOME/.cache/ombrix-deps}/sources}
# Debian's interpreter: the one python3-pil installs into.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" "$root/scripts/make-corpus.py" --sources "$sources" --out "$dir/seeds" --bases-only >&2
"$python" "$root/tests/fuzz/make-seeds.py" "$dir/seeds" >&2
cat "$root/tests/fuzz/jpeg.dict" "$root/tests/fuzz/tiff.dict" >"$dir/decode.dict"

log=$dir/last-run.log
before=$(ls "$dir/findings" | wc -l)
# The largest base is a JPEG with a 545 KB profile; larger inputs only slow
# the run down.
set -- -seed="$seed" -max_len=600000 -timeout=60 -rss_limit_mb=4096 -dict="$dir/decode.dict" \
    -artifact_prefix="$dir/findings/" -print_final_stats=1 \
    "$dir/corpus" "$dir/seeds" "$root/tests/fuzz/regressions"
status=0
if [ -n "$runs" ]; then
    "$target" -runs="$runs" "$@" >"$log" 2>&1 || status=$?
else
    echo "fuzz-run.sh: $workers workers for $time_limit s; log: $log" >&2
    "$target" -fork="$workers" -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
        -max_total_time="$time_limit" "$@" >"$log" 2>&1 || status=$?
fi

# The last status line: "#N ... cov: E ft: F corp: C ... exec/s: X ..."
# (one process) or "#N: cov: E ft: F corp: C exec/s X ..." (workers).
last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
field() { printf '%s\n' "$1" | sed -n "s|.* $2:* *\([0-9]*\).*|\1|p"; }
executions=$(printf '%s\n' "$last" | sed -n 's/^#\([0-9]*\).*/\1/p')
speed=$(field "$last" exec/s)
if [ -z "$runs" ]; then
    # The workers' summary counts coverage its own way: the edges are those
    # of the seeds and the grown corpus, run once in one process as the
    # bounded run counts them.
    [ -z "$executions" ] || speed=$((executions / time_limit))
    "$target" -runs=0 -max_len=600000 -rss_limit_mb=4096 "$dir/corpus" "$dir/seeds" >"$dir/coverage.log" 2>&1 || true
    last=$(grep -E '^#[0-9]+.*cov: ' "$dir/coverage.log" | tail -n 1 || true)
fi
found=$(($(ls "$dir/findings" | wc -l) - before))
echo "executions      ${executions:-0}"
echo "exec/s          $speed"
echo "edges           $(field "$last" cov)"
echo "features        $(field "$last" ft)"
echo "corpus          $(ls "$dir/corpus" | wc -l) files in $dir/corpus"
echo "findings        $found new in $dir/findings"
ls -t "$dir/findings" | head -n "$found" | sed 's/^/  /'
if [ "$found" -gt 0 ] || { [ "$status" -ne 0 ] && [ -n "$runs" ]; }; then
    grep -E 'ERROR: |SUMMARY: |decode_fuzz: ' "$log" | head -n 20 >&2 || true
    echo "fuzz-run.sh: findings; the log is $log" >&2
    exit 1
fi
