#!/bin/sh
# Configures and builds everything (module, reference host, stand-in, fake
# host, tests, benchmarks) for both architectures, each a CMake tree of its own:
#   BUILD/win32/   the module for 32-bit hosts and its tools and tests (i686)
#   BUILD/win64/   the module for 64-bit hosts and its tools and tests (x86-64)
# BUILD defaults to build/. OMBRIX_ARCHS="win32" (or "win64") builds one only.
# OMBRIX_TARGETS names the targets to build instead of everything: a name
# alone is built in each tree, "win32:NAME" in that tree only (scripts/demo.sh
# builds what its import runs). The build then says how many commands it ran
# for them and stops if one of them comes from tests/ or bench/.
# The 64-bit tree is built first; BUILD/win64/bin/OmbrixImport.8ba is the
# module the release (made in the 32-bit tree) takes as OMBRIX_MODULE64.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
# Builds for tests, the demo and the benchmarks ship nothing: where the mirror
# does not serve the source of a security update that apt lists, they take the
# newest source it serves, and the configure log names both versions.
# scripts/package.sh sets 0 unless told otherwise: a release stops instead.
OMBRIX_DEPS_ACCEPT_OLDER=${OMBRIX_DEPS_ACCEPT_OLDER-1}
export OMBRIX_DEPS_ACCEPT_OLDER
build=$(cd "$build" && pwd)
. "$root/scripts/cmake-tree.sh"
archs=${OMBRIX_ARCHS:-win64 win32}
for arch in $archs; do
    case $arch in
        win32) toolchain=$root/cmake/toolchain-i686-mingw.cmake ;;
        win64) toolchain=$root/cmake/toolchain-x86_64-mingw.cmake ;;
        *) echo "build.sh: unknown architecture '$arch' (win32, win64)" >&2; exit 1 ;;
    esac
    tree=$build/$arch
    # What the tree is told about the other one and the settings given; the
    # first configure gets them too, so that it reports what will be built.
    set --
    # The 64-bit tree's tests start the 32-bit converter stand-in too: they
    # are told the 32-bit tree when this run builds it (after this one) or it
    # is there already; without it, that test is not registered.
    if [ "$arch" = win64 ]; then
        tree32=$build/win32
        case " $archs " in
            *" win32 "*) ;;
            *) [ -f "$tree32/CMakeCache.txt" ] || tree32="" ;;
        esac
        [ -n "$tree32" ] || echo "build.sh: no 32-bit tree ($build/win32): the 64-bit tree does not test" \
            "an import with the 32-bit converter (selectors_tests_converter32); build both to test it" >&2
        set -- "-DOMBRIX_TREE32=$tree32"
    fi
    # The release, made in the 32-bit tree, carries the 64-bit tree's module
    # too; without it the release would lack the module today's hosts need.
    if [ "$arch" = win32 ]; then
        module64=$build/win64/bin/OmbrixImport.8ba
        if [ ! -f "$module64" ]; then
            echo "build.sh: no 64-bit module ($module64): the release carries the 32-bit module only;" \
                "build both (OMBRIX_ARCHS=\"win64 win32\") to ship for 64-bit hosts" >&2
            module64=""
        fi
        set -- "-DOMBRIX_MODULE64=$module64"
    fi
    # The host executable the installer looks up and the support address the
    # guides show, when given; the build folder keeps them.
    [ -z "${OMBRIX_HOST_EXECUTABLE:-}" ] || set -- "$@" "-DOMBRIX_HOST_EXECUTABLE=$OMBRIX_HOST_EXECUTABLE"
    [ -z "${OMBRIX_SUPPORT_ADDRESS:-}" ] || set -- "$@" "-DOMBRIX_SUPPORT_ADDRESS=$OMBRIX_SUPPORT_ADDRESS"
    configure_tree "$root" "$tree" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@"
    set_cache "$tree" "$@"
    if [ -z "${OMBRIX_TARGETS:-}" ]; then
        cmake --build "$tree" -j "$(nproc)"
        continue
    fi
    targets=""
    for target in $OMBRIX_TARGETS; do
        case $target in
            "$arch":*) targets="$targets ${target#*:}" ;;
            *:*) ;;
            *) targets="$targets $target" ;;
        esac
    done
    [ -n "$targets" ] || continue
    echo "build.sh: $arch: building$targets only"
    cmake --build "$tree" -j "$(nproc)" --target $targets
    if [ -f "$tree/build.ninja" ]; then
        # Every command these targets need, done now or by an earlier build.
        commands=$(ninja -C "$tree" -t commands $targets)
        test_parts="$root/(tests|bench)/|googletest|real-exports|transfer-images|fuzz-regressions"
        if printf '%s\n' "$commands" | grep -E "$test_parts" >/dev/null; then
            echo "build.sh: $arch:$targets need a test, a benchmark or a test fixture:" >&2
            printf '%s\n' "$commands" | grep -E "$test_parts" | head -n 5 >&2
            exit 1
        fi
        echo "build.sh: $arch:$targets: $(printf '%s\n' "$commands" | wc -l) build commands," \
            "none of a test program, a benchmark or a test fixture"
    fi
done
