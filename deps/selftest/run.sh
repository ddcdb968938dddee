#!/bin/bash
# Builds the FreeImage self-test against the cached static build (building
# that first if needed) and runs it under Wine in a throw-away prefix.
# Leaves nothing behind; exits non-zero if a check fails.
set -eu
set -o pipefail

here=$(cd "$(dirname "$0")" && pwd)
prefix=$("$here/../build-freeimage.sh" | tail -n 1)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/freeimage-selftest.XXXXXX")
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

started=$(date +%s%N)
i686-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -static -DFREEIMAGE_LIB \
    -ffunction-sections -fdata-sections -Wl,--gc-sections \
    -I"$prefix/include" "$here/freeimage-selftest.cpp" \
    -L"$prefix/lib" -lfreeimage -ltiff -lpng16 -ljpeg -lz \
    -o "$scratch/freeimage-selftest.exe"
echo "freeimage-selftest.exe: $(stat -c %s "$scratch/freeimage-selftest.exe") bytes," \
     "built in $(( ($(date +%s%N) - started) / 1000000 )) ms" >&2

# Debian's interpreter: it is the one python3-pil installs into.
icc_size=$(/usr/bin/python3 "$here/make-images.py" "$scratch")

# Wine's helper processes inherit the first program's output handles: give
# them files, not the caller's pipes, so that nothing waits on them.
status=0
(cd "$scratch" && wine freeimage-selftest.exe "$icc_size" </dev/null >"$scratch/out.txt" 2>"$scratch/err.txt") || status=$?
tr -d '\r' <"$scratch/out.txt"
[ "$status" -eq 0 ] || { echo "self-test exited with $status" >&2; tr -d '\r' <"$scratch/err.txt" >&2; }
exit "$status"
