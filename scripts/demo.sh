#!/bin/sh
# The main job: builds everything, makes a sample set (an 8-bit JPEG with an
# ICC profile, a 16-bit TIFF, a DNG), registers the converter stand-in and
# runs an import of the samples through the reference host driving the
# module, as a photographer's File > Import would. Shows where the documents
# and the report are.
# Usage: scripts/demo.sh [BUILD_DIR]          (results in out/demo/)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/out/demo

"$root/scripts/build.sh" "$build"
echo
echo "Module: $build/bin/OmbrixImport.8ba"
"$root/scripts/check-module-exports.sh" "$build/bin/OmbrixImport.8ba"

rm -rf "$out"
mkdir -p "$out/samples" "$out/documents" "$out/converter"
"$root/scripts/make-samples.py" "$out/samples" >/dev/null

# A prefix of its own: the demo leaves the stand-in registered there, and
# the tests' prefix stays as the tests expect it.
exec "$root/scripts/with-wineserver.sh" "$build/wineprefix-demo" \
    "$root/scripts/demo-import.sh" "$build" "$out"
