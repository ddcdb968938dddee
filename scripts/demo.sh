#!/bin/sh
# The main job: builds what its import runs (the two modules, the reference
# host of the demo's architecture, the 32-bit converter stand-in; no test
# program, benchmark or test fixture), makes a sample set (an 8-bit JPEG with an
# ICC profile, a 16-bit TIFF, a DNG), registers the converter stand-in and
# runs an import of the samples through the 64-bit reference host driving the
# 64-bit module (OMBRIX_DEMO_ARCH=win32: the 32-bit ones), as a photographer's
# File > Import would; the converter stand-in is the 32-bit program either way. Shows where the documents
# and the report are.
# Usage: scripts/demo.sh [BUILD_DIR]          (results in out/demo/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/out/demo

OMBRIX_TARGETS="OmbrixImport ${OMBRIX_DEMO_ARCH:-win64}:ombrix-host win32:ombrix-converter" \
    "$root/scripts/build.sh" "$build"
echo
for arch in win32 win64; do
    echo "Module for $( [ $arch = win32 ] && echo 32 || echo 64 )-bit hosts: $build/$arch/bin/OmbrixImport.8ba"
    "$root/scripts/check-module-exports.sh" "$build/$arch/bin/OmbrixImport.8ba" $arch
done

rm -rf "$out"
mkdir -p "$out/samples" "$out/documents" "$out/converter"
"$root/scripts/make-samples.py" "$out/samples" >/dev/null

# A prefix of its own: the demo leaves the stand-in registered there, and
# the tests' prefix stays as the tests expect it.
exec "$root/scripts/with-wineserver.sh" "$build/wineprefix-demo" \
    "$root/scripts/demo-import.sh" "$build" "$out"
