#!/bin/bash
# Builds FreeImage 3.18 (JPEG, PNG and TIFF plugins) and the libraries it uses
# (zlib, libjpeg-turbo, libpng, libtiff) as static archives for the target of
# a CMake toolchain file, from Debian source packages, into a cache prefix:
#
#   build-freeimage.sh [TOOLCHAIN_FILE]   (default: cmake/toolchain-i686-mingw.cmake)
#
#   ${OMBRIX_DEPS_CACHE:-$HOME/.cache/ombrix-deps}/freeimage-<version>-<target>-<key>/
#       include/   FreeImage.h and the headers of the four libraries
#       lib/       libfreeimage.a libtiff.a libpng16.a libjpeg.a libz.a, and
#                  libturbojpeg.a (libjpeg-turbo's own API, for the benchmarks'
#                  anchor only: the module never links it)
#       lib/winpthreads/libpthread.a   for a Windows target: the threads
#                  library of the posix thread model, from mingw-w64's source,
#                  with the project's patch (the module links it, at unload
#                  it gives back all it holds: deps/winpthreads)
#       versions.txt  the source packages actually built, and the key
#   ...freeimage-<version>-<key>.logs/   the build's logs
#   sources/                              downloaded source packages, reused
#
# The target (system and processor), the compilers and NASM's object format
# come from the toolchain file.
#
# Each library is built from the newest source version apt lists, security
# updates included. When that version's source cannot be downloaded, the
# build stops and says so, unless OMBRIX_DEPS_ACCEPT_OLDER=1 accepts the
# newest older version that can be: versions.txt, the log and the release's
# notices then name both. The key covers the versions built, the toolchain
# (the packages of its compilers and NASM, and the toolchain file's text) and
# the files that shape the build: with the prefix in place a run takes a
# second or two (a listed version not served is asked for again). The prefix
# path is the last line of stdout; progress and logs go to stderr. Needs what
# scripts/install-packages.sh installs (deb-src entries for the main and the
# security suite, the toolchain's compilers, cmake, ninja, nasm, dpkg-dev).
set -eu
set -o pipefail

# Everything but the final prefix line goes to stderr.
exec 3>&1 1>&2

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
toolchain=${1:-$root/cmake/toolchain-i686-mingw.cmake}
[ -f "$toolchain" ] || { echo "no toolchain file $toolchain" >&2; exit 1; }
toolchain=$(cd "$(dirname "$toolchain")" && pwd)/$(basename "$toolchain")
cache_root=${OMBRIX_DEPS_CACHE:-$HOME/.cache/ombrix-deps}
mkdir -p "$cache_root"
cache_root=$(cd "$cache_root" && pwd)
jobs=$(nproc)

# Source packages; imath only lends its half.h to the TIFF plugin.
packages="freeimage libjpeg-turbo libpng1.6 tiff zlib imath"
# Files whose change must give a new prefix.
build_files=(deps/build-freeimage.sh deps/toolchain-facts.cmake deps/zlib/CMakeLists.txt
             deps/freeimage/CMakeLists.txt deps/winpthreads/CMakeLists.txt)
# The project's own fixes to FreeImage and winpthreads, each saying which
# fault it closes.
for patch_file in "$here"/freeimage/patches/*.patch "$here"/winpthreads/patches/*.patch; do
    if [ -f "$patch_file" ]; then build_files+=("${patch_file#"$root"/}"); fi
done

log() { printf '[freeimage-deps] %s\n' "$*"; }
die() { log "error: $*"; exit 1; }

command -v cmake >/dev/null || die "'cmake' is missing: run scripts/install-packages.sh"
declare -A tc
while IFS='=' read -r name value; do
    tc[$name]=$value
done < <(cmake -DTOOLCHAIN="$toolchain" -P "$here/toolchain-facts.cmake")
[ -n "${tc[CMAKE_C_COMPILER]:-}" ] && [ -n "${tc[CMAKE_CXX_COMPILER]:-}" ] ||
    die "$toolchain names no C and C++ compilers"
case "${tc[CMAKE_SYSTEM_NAME]}/${tc[CMAKE_SYSTEM_PROCESSOR]}" in
    Windows/i?86) nasm_format=win32 ;;
    Windows/x86_64 | Windows/AMD64) nasm_format=win64 ;;
    Linux/x86_64) nasm_format=elf64 ;;
    *) die "no NASM object format known for ${tc[CMAKE_SYSTEM_NAME]} on ${tc[CMAKE_SYSTEM_PROCESSOR]}" ;;
esac
# A Windows module links winpthreads of its own making (mingw-w64's source).
windows=0
if [ "${tc[CMAKE_SYSTEM_NAME]}" = Windows ]; then
    windows=1
    packages+=" mingw-w64"
fi
# Names the prefix, so that the builds for several targets are told apart.
target=$(basename "$toolchain" .cmake)
target=${target#toolchain-}
# The packages that own the compilers and the archiver (followed through
# their links), NASM and the target's headers and libraries.
owned=()
for tool in "${tc[CMAKE_C_COMPILER]}" "${tc[CMAKE_CXX_COMPILER]}" ${tc[CMAKE_AR]:-} nasm; do
    path=$(command -v "$tool") || die "'$tool' is missing: run scripts/install-packages.sh"
    owned+=("$(readlink -f "$path")")
done
for dir in ${tc[CMAKE_FIND_ROOT_PATH]//;/ }; do
    [ ! -d "$dir/include" ] || owned+=("$dir/include")
done
mapfile -t toolchain_packages < <(dpkg -S "${owned[@]}" 2>/dev/null |
    cut -d: -f1 | tr ',' '\n' | tr -d ' ' | sort -u)

# Versions of source package $1 that apt knows, newest first (Debian ordering).
source_versions() {
    local pkg=$1 v i inserted sorted=()
    while read -r v; do
        inserted=0
        for i in "${!sorted[@]}"; do
            if dpkg --compare-versions "$v" gt "${sorted[$i]}"; then
                sorted=("${sorted[@]:0:$i}" "$v" "${sorted[@]:$i}")
                inserted=1
                break
            fi
        done
        [ "$inserted" = 1 ] || sorted+=("$v")
    done < <(apt-cache showsrc "$pkg" 2>/dev/null |
             awk -v p="$pkg" '/^Package: /{cur=$2} /^Version: /{if (cur==p) print $2}' | sort -u)
    [ "${#sorted[@]}" -gt 0 ] || return 0
    printf '%s\n' "${sorted[@]}"
}

for tool in dpkg-source apt-get; do
    command -v "$tool" >/dev/null || die "'$tool' is missing: run scripts/install-packages.sh"
done
# Downloads one run at a time (a build may run meanwhile: it has its own lock).
exec 8>"$cache_root/.download-lock"
flock 8
downloads="$cache_root/sources"
mkdir -p "$downloads"

# The source of $1 version $2 is at hand: downloaded now or by an earlier run.
have_source() {
    local pkg=$1 v=$2
    [ ! -f "$downloads/${pkg}_${v#*:}.dsc" ] || return 0
    log "downloading $pkg $v"
    if (cd "$downloads" && apt-get source -q --download-only "$pkg=$v") >"$downloads/fetch-$pkg.log" 2>&1; then
        return 0
    fi
    rm -f "$downloads/${pkg}_${v#*:}.dsc"
    return 1
}

# The version of each package to build: the newest apt lists, or with
# OMBRIX_DEPS_ACCEPT_OLDER=1 the newest one whose source can be had.
declare -A candidates listed built_version
key_input=""
for pkg in $packages; do
    candidates[$pkg]=$(source_versions "$pkg" | tr '\n' ' ')
    [ -n "${candidates[$pkg]// /}" ] ||
        die "apt knows no source package '$pkg': enable deb-src entries and run apt-get update (scripts/install-packages.sh does both)"
    listed[$pkg]=${candidates[$pkg]%% *}
    for v in ${candidates[$pkg]}; do
        if have_source "$pkg" "$v"; then
            built_version[$pkg]=$v
            break
        fi
        if [ "${OMBRIX_DEPS_ACCEPT_OLDER:-}" != 1 ]; then
            tail -n 5 "$downloads/fetch-$pkg.log"
            die "apt lists $pkg $v, the version with Debian's latest fixes, but its source cannot be downloaded (log: $downloads/fetch-$pkg.log). The build stops rather than ship an older $pkg unannounced. With OMBRIX_DEPS_ACCEPT_OLDER=1 it builds the newest version that can be downloaded, and versions.txt, this log and the release's notices name both."
        fi
        log "  $pkg $v is not served; trying an older version (OMBRIX_DEPS_ACCEPT_OLDER=1)"
    done
    [ -n "${built_version[$pkg]:-}" ] || die "no version of '$pkg' could be downloaded (tried: ${candidates[$pkg]})"
    key_input+="$pkg ${built_version[$pkg]}"$'\n'
done
flock -u 8
key_input+=$(dpkg-query -W -f='${Package} ${Version}\n' "${toolchain_packages[@]}" 2>/dev/null || true)$'\n'
key_input+=$(cd "$root" && sha256sum "${build_files[@]}")$'\n'
key_input+="toolchain $target ${tc[CMAKE_SYSTEM_NAME]} ${tc[CMAKE_SYSTEM_PROCESSOR]} $(sha256sum <"$toolchain")"
key=$(printf '%s' "$key_input" | sha256sum | cut -c1-12)

upstream=${built_version[freeimage]#*:}
upstream=${upstream%%[-+~]*}
prefix="$cache_root/freeimage-$upstream-$target-$key"
libs="libfreeimage.a libtiff.a libpng16.a libjpeg.a libz.a libturbojpeg.a"
[ "$windows" = 0 ] || libs+=" winpthreads/libpthread.a"

prefix_complete() {
    [ -f "$prefix/versions.txt" ] && [ -f "$prefix/include/FreeImage.h" ] || return 1
    local lib
    for lib in $libs; do [ -f "$prefix/lib/$lib" ] || return 1; done
}

# The versions built against the versions apt lists, for the configure log.
report_versions() {
    local pkg
    for pkg in $packages; do
        if [ "${built_version[$pkg]}" = "${listed[$pkg]}" ]; then
            log "  $pkg ${built_version[$pkg]}, the version apt lists"
        else
            log "  $pkg ${built_version[$pkg]}: OLDER than ${listed[$pkg]}, which apt lists but does not serve (accepted by OMBRIX_DEPS_ACCEPT_OLDER=1)"
        fi
    done
}

if prefix_complete; then
    log "cached: $prefix"
    report_versions
    echo "$prefix" >&3
    exit 0
fi

# One build at a time per cache (two CMake configures may race here).
exec 9>"$cache_root/.lock"
flock 9
if prefix_complete; then
    log "cached (built by a concurrent run): $prefix"
    report_versions
    echo "$prefix" >&3
    exit 0
fi

for tool in nasm patch; do
    command -v "$tool" >/dev/null || die "'$tool' is missing: run scripts/install-packages.sh"
done
generator=Ninja
command -v ninja >/dev/null || generator="Unix Makefiles"

started=$(date +%s)
work="$cache_root/work-$key"
stage="$prefix.partial"
logs="$work/logs"
rm -rf "$work" "$stage"
mkdir -p "$work/src" "$logs" "$stage"

# Runs a step with its output in logs/$1.log; shows the log's end on failure.
run_logged() {
    local name=$1
    shift
    if ! "$@" >"$logs/$name.log" 2>&1; then
        tail -n 40 "$logs/$name.log"
        die "step '$name' failed; full log: $logs/$name.log"
    fi
}

# Logs the time the previous phase took, then names the next one.
phase() {
    [ -z "${phase_name:-}" ] || log "  $phase_name: $((SECONDS - phase_start)) s"
    phase_name=$1
    phase_start=$SECONDS
    [ -z "$phase_name" ] || log "$phase_name"
}

phase "unpacking sources"
for pkg in $packages; do
    dsc="$downloads/${pkg}_${built_version[$pkg]#*:}.dsc"
    if ! dpkg-source -q -x "$dsc" "$work/src/$pkg" >"$logs/unpack-$pkg.log" 2>&1; then
        # An incomplete download: the next run fetches it again.
        rm -f "$dsc"
        die "$pkg ${built_version[$pkg]} does not unpack (log: $logs/unpack-$pkg.log); run again to download it anew"
    fi
done
# The project's own patches apply exactly where they were made, or not at all.
for patch_file in "$here"/freeimage/patches/*.patch; do
    [ -f "$patch_file" ] || continue
    run_logged "patch-${patch_file##*/}" patch -d "$work/src/freeimage" -p1 --forward --fuzz=0 -i "$patch_file"
done
if [ "$windows" = 1 ]; then
    for patch_file in "$here"/winpthreads/patches/*.patch; do
        [ -f "$patch_file" ] || continue
        run_logged "patch-${patch_file##*/}" patch -d "$work/src/mingw-w64" -p1 --forward --fuzz=0 -i "$patch_file"
    done
fi

section_flags="-ffunction-sections -fdata-sections"
# A toolchain's own flags (the sanitizers of the native fuzz build) go into
# every library, as CMake would have put them there.
c_flags="$section_flags ${tc[CMAKE_C_FLAGS_INIT]:-}"
cxx_flags="$section_flags ${tc[CMAKE_CXX_FLAGS_INIT]:-}"
configure() {
    local name=$1 source_dir=$2
    shift 2
    run_logged "$name-configure" cmake -S "$source_dir" -B "$work/build/$name" -G "$generator" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_FLAGS="$c_flags" -DCMAKE_CXX_FLAGS="$cxx_flags" \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCMAKE_INSTALL_PREFIX="$stage" \
        "$@"
}
build() {
    local name=$1
    shift
    run_logged "$name-build" cmake --build "$work/build/$name" --parallel "$jobs" "$@"
}
install_built() {
    run_logged "$1-install" cmake --install "$work/build/$1"
}

zlib_args=(-DZLIB_INCLUDE_DIR="$stage/include" -DZLIB_LIBRARY="$stage/lib/libz.a")
jpeg_args=(-DJPEG_INCLUDE_DIR="$stage/include" -DJPEG_LIBRARY="$stage/lib/libjpeg.a")

phase "building zlib ${built_version[zlib]}"
configure zlib "$here/zlib" -DZLIB_SOURCE_DIR="$work/src/zlib"
build zlib
install_built zlib

phase "building libjpeg-turbo ${built_version[libjpeg-turbo]}"
configure jpeg "$work/src/libjpeg-turbo" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm \
    -DCMAKE_ASM_NASM_OBJECT_FORMAT="$nasm_format"
# Only the libraries: the command-line tools are of no use here. TurboJPEG is
# the benchmarks' measure of the fastest decode the library offers.
build jpeg --target jpeg-static turbojpeg-static
cp "$work/build/jpeg/libjpeg.a" "$work/build/jpeg/libturbojpeg.a" "$stage/lib/"
cp "$work/build/jpeg/jconfig.h" "$work/src/libjpeg-turbo/"{jpeglib.h,jmorecfg.h,jerror.h,turbojpeg.h} "$stage/include/"

phase "building libpng ${built_version[libpng1.6]}"
configure png "$work/src/libpng1.6" "${zlib_args[@]}" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
    -Dld-version-script=OFF
build png
install_built png

phase "building libtiff ${built_version[tiff]}"
configure tiff "$work/src/tiff" "${zlib_args[@]}" "${jpeg_args[@]}" \
    -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF \
    -Dtiff-docs=OFF -Dcxx=OFF -Dzlib=ON -Djpeg=ON \
    -Dlibdeflate=OFF -Djbig=OFF -Djpeg12=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF \
    -Dwebp=OFF -Dsphinx=OFF
build tiff
install_built tiff

phase "preparing Imath's half.h ${built_version[imath]}"
# ImathConfig.h is generated by Imath's configure step; nothing is compiled.
configure imath "$work/src/imath" -DBUILD_TESTING=OFF
mkdir -p "$work/imath-include/Imath"
cp "$work/src/imath/src/Imath/"*.h "$work/build/imath/config/ImathConfig.h" "$work/imath-include/Imath/"

phase "building FreeImage ${built_version[freeimage]}"
configure freeimage "$here/freeimage" \
    -DFREEIMAGE_SOURCE_DIR="$work/src/freeimage" \
    -DIMATH_INCLUDE_DIR="$work/imath-include" \
    -DDEPS_INCLUDE_DIR="$stage/include"
build freeimage
install_built freeimage

if [ "$windows" = 1 ]; then
    phase "building winpthreads ${built_version[mingw-w64]}"
    configure winpthreads "$here/winpthreads" \
        -DWINPTHREADS_SOURCE_DIR="$work/src/mingw-w64/mingw-w64-libraries/winpthreads"
    build winpthreads
    install_built winpthreads
fi

phase ""

# Keep headers and the five archives; drop pkg-config, CMake package files,
# scripts and manuals, which would point into the staging folder anyway.
find "$stage" -mindepth 1 -maxdepth 1 ! -name include ! -name lib -exec rm -rf {} +
for entry in "$stage/lib/"* ; do
    case " $libs " in
        *" ${entry##*/} "* | *" ${entry##*/}/"*) ;;
        *) rm -rf "$entry" ;;
    esac
done
for lib in $libs; do
    [ -f "$stage/lib/$lib" ] || die "the build left no $lib"
done
{
    for pkg in $packages; do
        printf '%s %s\n' "$pkg" "${built_version[$pkg]}"
    done
    for pkg in $packages; do
        [ "${built_version[$pkg]}" = "${listed[$pkg]}" ] || printf 'listed %s %s\n' "$pkg" "${listed[$pkg]}"
    done
    printf 'target %s\n' "$target"
    printf 'key %s\n' "$key"
} >"$stage/versions.txt"

rm -rf "$prefix"
mv "$stage" "$prefix"
# The logs stay beside the prefix for a look at warnings; the sources and
# objects go.
rm -rf "$prefix.logs"
mv "$logs" "$prefix.logs"
rm -rf "$work"
log "built in $(( $(date +%s) - started )) s: $prefix"
report_versions
echo "$prefix" >&3
