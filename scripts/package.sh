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
# included, unless OMBRIX_DEPS_ACCEPT_OLDER=1 accepts older ones (the notices
# then name both).
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
trap 'rm -rf "$stage"' EXIT
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
[ -f "$tree/release/win64/OmbrixImport.8ba" ] ||
    echo "Only the 32-bit module: this build has no 64-bit module (OMBRIX_MODULE64)."
if [ -z "${OMBRIX_SIGN_CERT:-}" ]; then
    echo "Unsigned: set OMBRIX_SIGN_CERT and OMBRIX_SIGN_PASSWORD to sign the modules and the installer."
else
    echo "Modules, uninstaller and installer signed with $OMBRIX_SIGN_CERT."
fi
