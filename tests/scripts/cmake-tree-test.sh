#!/bin/sh
# scripts/cmake-tree.sh as the build scripts use it: a configure that stops
# says so and leaves nothing that breaks the next run, which configures
# afresh and builds; a changed setting reconfigures a configured tree.
# Usage: cmake-tree-test.sh SCRIPTS_DIR WORK_DIR
set -eu
scripts=$1
work=$2
rm -rf "$work"
mkdir -p "$work/source"
cat >"$work/source/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(probe NONE)
if(NOT EXISTS ${CMAKE_SOURCE_DIR}/ready)
    message(FATAL_ERROR "not ready")
endif()
add_custom_target(probe ALL COMMAND ${CMAKE_COMMAND} -E echo "built with ${SETTING}")
EOF
# One run of a build script: configure, apply the setting, build.
cat >"$work/run.sh" <<EOF
set -eu
. "$scripts/cmake-tree.sh"
configure_tree "$work/source" "$work/tree" -DSETTING="\$1"
set_cache "$work/tree" -DSETTING="\$1"
cmake --build "$work/tree"
EOF
fail() { echo "cmake-tree-test: $*" >&2; exit 1; }

if sh "$work/run.sh" first >"$work/failed.log" 2>&1; then
    fail "a configure that stops was taken for a success"
fi
grep -q "configuring $work/tree failed" "$work/failed.log" || fail "the failed configure was not reported: $(cat "$work/failed.log")"
[ ! -f "$work/tree/CMakeCache.txt" ] || fail "the failed configure left its cache"

touch "$work/source/ready"
sh "$work/run.sh" first >"$work/next.log" 2>&1 || fail "the run after a failed configure failed: $(cat "$work/next.log")"
grep -q "built with first" "$work/next.log" || fail "the run after a failed configure built nothing"

sh "$work/run.sh" second >"$work/changed.log" 2>&1 || fail "a changed setting failed: $(cat "$work/changed.log")"
grep -q "built with second" "$work/changed.log" || fail "a changed setting did not reach the configured tree"
echo "cmake-tree-test: a failed configure, the run after it and a changed setting behave"
