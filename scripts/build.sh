#!/bin/sh
# Configures and builds everything (module, reference host, stand-in, tests,
# benchmarks) into BUILD (default: build/).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
generator=""
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" $generator \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" -DCMAKE_BUILD_TYPE=Release
fi
# The host executable the installer looks up; kept by the build folder.
if [ -n "${OMBRIX_HOST_EXECUTABLE:-}" ]; then
    cmake -B "$build" -DOMBRIX_HOST_EXECUTABLE="$OMBRIX_HOST_EXECUTABLE" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
