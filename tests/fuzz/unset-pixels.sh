#!/bin/sh
# Every pixel the host would receive was written by the decoder. The decoder
# leaves the bitmaps it fills row by row uncleared, so a row it skipped
# would hold whatever the memory held before. The fuzz target runs over the
# same files twice, fresh memory filled with 0x00 and then with 0xff by the
# sanitizer, and prints a digest of the rows it delivers for each file: the
# two runs must print the same.
#
#   unset-pixels.sh TARGET DIR...
set -u
if [ $# -lt 2 ]; then
    echo "usage: unset-pixels.sh TARGET DIR..." >&2
    exit 2
fi
target=$1
shift
if [ ! -x "$target" ]; then
    echo "unset-pixels: no fuzz target at $target (scripts/fuzz-run.sh --build-only builds it)" >&2
    exit 1
fi
for dir in "$@"; do
    if [ -z "$(find "$dir" -maxdepth 1 -type f 2>/dev/null | head -n 1)" ]; then
        echo "unset-pixels: no files in $dir: the build makes them, its log says why it did not" >&2
        exit 1
    fi
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for fill in 0 255; do
    if ! ASAN_OPTIONS=malloc_fill_byte=$fill:max_malloc_fill_size=2147483647 DECODE_FUZZ_DIGESTS=1 \
            "$target" -runs=0 -max_len=100000000 -rss_limit_mb=4096 "$@" >"$out/run$fill" 2>"$out/log$fill"; then
        echo "unset-pixels: the target failed with fresh memory of $fill:" >&2
        tail -n 30 "$out/log$fill" >&2
        exit 1
    fi
    grep '^digests ' "$out/run$fill" | sort >"$out/digests$fill"
done

files=$(wc -l <"$out/digests0")
# A line ends in the digests of the rows delivered as a JPEG and as a TIFF;
# the empty digest is a file refused.
empty=14695981039346656037
delivered=$(awk -v empty=$empty '$3 != empty || $4 != empty' "$out/digests0" | wc -l)
if [ "$files" -eq 0 ] || [ "$delivered" -eq 0 ]; then
    echo "unset-pixels: $files files run, $delivered delivered: nothing to compare" >&2
    exit 1
fi
if ! cmp -s "$out/digests0" "$out/digests255"; then
    echo "unset-pixels: rows that differ with what fresh memory held, pixels the decoder never wrote" >&2
    echo "in the rows delivered from:" >&2
    diff "$out/digests0" "$out/digests255" | grep '^<' | cut -d' ' -f3 | sort -u >"$out/differing"
    # the files behind the input digests (FNV-1a of their bytes, as the target's)
    python3 - "$out/differing" "$@" >&2 <<'PYTHON'
import os, sys
differing = set(open(sys.argv[1]).read().split())
for folder in sys.argv[2:]:
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            continue
        value = 14695981039346656037
        for byte in open(path, "rb").read():
            value = ((value ^ byte) * 1099511628211) % (1 << 64)
        if str(value) in differing:
            print("  " + path)
PYTHON
    exit 1
fi
echo "unset-pixels: $files files, $delivered delivered, the same rows whatever fresh memory held"
