#!/bin/sh
# Builds the release and writes it to out/release/: the installer, a zip per
# architecture for installing by hand (module, user guides, notices), the
# third-party notices and SHA256SUMS; prints each artefact's name, size and
# checksum, and which host executable the installer looks for.
# The modules, the uninstaller and the installer are signed when
# OMBRIX_SIGN_CERT names a code-signing certificate (PKCS#12, a path
# relative to the current folder or absolute) and OMBRIX_SIGN_PASSWORD its
# password.
# Two runs on one commit give byte-identical files: every time stamp is the
# commit's (SOURCE_DATE_EPOCH, unless given), and the zips list their files
# in one order.
# Usage: scripts/package.sh [BUILD_DIR]   (OMBRIX_RELEASE_OUT: another output folder)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# What ships is built from the library versions apt lists, security updates
# included, unless OMBRIX_DEPS_ACCEPT_OLDER=1, given to this run, accepts the
# newest older ones the mirror serves (the summary and the notices name them).
# Decided on every run, whatever the build folder was configured with.
OMBRIX_DEPS_ACCEPT_OLDER=${OMBRIX_DEPS_ACCEPT_OLDER:-0}
export OMBRIX_DEPS_ACCEPT_OLDER
build=${1:-$root/build}
# The release is made in the 32-bit tree, which takes the 64-bit module from
# BUILD/win64 (scripts/build.sh wires them).
tree=$build/win32
out=${OMBRIX_RELEASE_OUT:-$root/out/release}
version=$(sed -n 's/^project(OmbrixImport VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "package: no project version in CMakeLists.txt" >&2; exit 1; }

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
        { echo "package: not a git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
# The build's tools run in other folders: a relative certificate path is
# made absolute here, where it was meant.
if [ -n "${OMBRIX_SIGN_CERT:-}" ]; then
    case $OMBRIX_SIGN_CERT in
        /*) ;;
        *) OMBRIX_SIGN_CERT=$(pwd)/$OMBRIX_SIGN_CERT ;;
    esac
    export OMBRIX_SIGN_CERT
fi

setup=OmbrixImport-$version-setup.exe
shipped="THIRD-PARTY-NOTICES.txt user-guide.html user-guide-fr.html"
# older_than_listed VERSIONS_TXT: "PACKAGE BUILT LISTED" for each library of
# a FreeImage build older than apt lists.
older_than_listed() {
    awk '$1 == "listed" { listed[$2] = $3 } NF == 2 { built[$1] = $2 }
        END { for (p in listed) print p, built[p], listed[p] }' "$1" | LC_ALL=C sort
}
# Which sources the mirror serves, for every library at once: the FreeImage
# build, told to take older ones, answers from its cache in seconds (or
# builds them, which the release needs anyway when they are accepted).
deps_log=$(mktemp)
trap 'rm -f "$deps_log"' EXIT
# (Its stdout is the prefix alone.)
prefix=$(OMBRIX_DEPS_ACCEPT_OLDER=1 bash "$root/deps/build-freeimage.sh" \
    "$root/cmake/toolchain-i686-mingw.cmake" 2>"$deps_log") ||
    { cat "$deps_log" >&2; echo "package: the FreeImage build failed (above)" >&2; exit 1; }
older=$(older_than_listed "$prefix/versions.txt")
if [ -n "$older" ] && [ "$OMBRIX_DEPS_ACCEPT_OLDER" != 1 ]; then
    {
        echo "package: apt lists these library versions, with Debian's latest fixes, but the mirror does not serve their sources:"
        printf '%s\n' "$older" | while read -r package built listed; do
            echo "  $package $listed (the newest served: $built)"
        done
        echo "The release stops rather than ship older libraries unannounced. OMBRIX_DEPS_ACCEPT_OLDER=1 scripts/package.sh"
        echo "ships the newest versions served; its summary and the third-party notices name them."
    } >&2
    exit 1
fi
# Each tree configured again, so that its FreeImage follows this run's choice
# and not the one it was configured with (a demo's build accepts older
# sources on its own).
for arch in ${OMBRIX_ARCHS:-win64 win32}; do
    if [ -f "$build/$arch/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$build/$arch" >/dev/null 2>"$deps_log" ||
            { cat "$deps_log" >&2; echo "package: configuring $build/$arch failed (above)" >&2; exit 1; }
    fi
done
# Made afresh, so that this run's signing settings apply to every file.
for file in "$setup" uninstall.exe win32/OmbrixImport.8ba win64/OmbrixImport.8ba $shipped; do
    rm -f "$tree/release/$file"
done
"$root/scripts/build.sh" "$build"
for file in "$setup" win32/OmbrixImport.8ba $shipped; do
    [ -f "$tree/release/$file" ] || { echo "package: the build made no release/$file" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage" "$deps_log"' EXIT
artefacts="$setup"
for arch in win64 win32; do
    [ -f "$tree/release/$arch/OmbrixImport.8ba" ] || continue
    name=OmbrixImport-$version-$arch
    mkdir "$stage/$name"
    for file in $arch/OmbrixImport.8ba $shipped; do
        cp "$tree/release/$file" "$stage/$name/"
    done
    chmod 644 "$stage/$name"/*
    touch -d "@$SOURCE_DATE_EPOCH" "$stage/$name"/*
    # Names in one order, times in UTC, no folder entries, no owner fields.
    (cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$out/$name.zip")
    artefacts="$artefacts $name.zip"
done
artefacts="$artefacts THIRD-PARTY-NOTICES.txt"
cp "$tree/release/$setup" "$tree/release/THIRD-PARTY-NOTICES.txt" "$out/"
# shellcheck disable=SC2086
(cd "$out" && sha256sum $artefacts >SHA256SUMS)

host_exe=$(sed -n 's/^OMBRIX_HOST_EXECUTABLE:STRING=//p' "$tree/CMakeCache.txt")
support=$(sed -n 's/^OMBRIX_SUPPORT_ADDRESS:STRING=//p' "$tree/CMakeCache.txt")
echo
echo "Release $version in ${out#"$root"/}/:"
(cd "$out" && for file in $artefacts SHA256SUMS; do
    printf '  %-36s %9s bytes  %s\n' "$file" "$(stat -c %s "$file")" "$(sha256sum "$file" | cut -d' ' -f1)"
done)
echo "The installer looks for the host's executable $host_exe under App Paths (OMBRIX_HOST_EXECUTABLE)."
echo "Support address in the guides and the Programs list: $support (OMBRIX_SUPPORT_ADDRESS)."
# The library versions the modules were built from, where older than apt lists.
shipped_older=$(for arch in win64 win32; do
    used=$(sed -n 's/^OMBRIX_FREEIMAGE_USED:INTERNAL=//p' "$build/$arch/CMakeCache.txt" 2>/dev/null)
    [ -z "$used" ] || older_than_listed "$used/versions.txt"
done | LC_ALL=C sort -u)
if [ -n "$shipped_older" ]; then
    echo "Built from library sources older than apt lists (OMBRIX_DEPS_ACCEPT_OLDER=1; the notices say so too):"
    printf '%s\n' "$shipped_older" | while read -r package built listed; do
        echo "  $package $built (apt lists $listed, whose source the mirror does not serve)"
    done
fi
[ -f "$tree/release/win64/OmbrixImport.8ba" ] ||
    echo "Only the 32-bit module: this build has no 64-bit module (OMBRIX_MODULE64)."
if [ -z "${OMBRIX_SIGN_CERT:-}" ]; then
    echo "Unsigned: set OMBRIX_SIGN_CERT and OMBRIX_SIGN_PASSWORD to sign the modules and the installer."
else
    echo "Modules, uninstaller and installer signed with $OMBRIX_SIGN_CERT."
fi
