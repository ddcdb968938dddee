#!/bin/sh
# The main job: builds everything and shows what the module does.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/build.sh" "$build"
echo
echo "Module: $build/bin/OmbrixImport.8ba"
"$root/scripts/check-module-exports.sh" "$build/bin/OmbrixImport.8ba"
echo "The reference host and the converter stand-in are not built yet; no import can run so far."
