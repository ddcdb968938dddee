#!/bin/sh
# Builds the release and writes it to out/release/: the installer, the zip
# for installing by hand (module, user guides, notices), the third-party
# notices and SHA256SUMS; prints each artefact's name, size and checksum.
# The module and the installer are signed when OMBRIX_SIGN_CERT names a
# code-signing certificate (PKCS#12) and OMBRIX_SIGN_PASSWORD its password.
# Usage: scripts/package.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/out/release
version=$(sed -n 's/^project(OmbrixImport VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "package: no project version in CMakeLists.txt" >&2; exit 1; }

setup=OmbrixImport-$version-setup.exe
zipname=OmbrixImport-$version-win32
files="$setup OmbrixImport.8ba THIRD-PARTY-NOTICES.txt user-guide.html user-guide-fr.html"

# Made afresh, so that this run's signing settings apply to every file.
for file in $files; do rm -f "$build/release/$file"; done
"$root/scripts/build.sh" "$build"
for file in $files; do
    [ -f "$build/release/$file" ] || { echo "package: the build made no release/$file" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$zipname"
for file in OmbrixImport.8ba THIRD-PARTY-NOTICES.txt user-guide.html user-guide-fr.html; do
    cp "$build/release/$file" "$stage/$zipname/"
done
(cd "$stage" && zip -q -X -r "$out/$zipname.zip" "$zipname")
cp "$build/release/$setup" "$build/release/THIRD-PARTY-NOTICES.txt" "$out/"
(cd "$out" && sha256sum "$setup" "$zipname.zip" THIRD-PARTY-NOTICES.txt >SHA256SUMS)

echo
echo "Release $version in ${out#"$root"/}/:"
(cd "$out" && for file in "$setup" "$zipname.zip" THIRD-PARTY-NOTICES.txt SHA256SUMS; do
    printf '  %-36s %9s bytes  %s\n' "$file" "$(stat -c %s "$file")" "$(sha256sum "$file" | cut -d' ' -f1)"
done)
if [ -z "${OMBRIX_SIGN_CERT:-}" ]; then
    echo "Unsigned: set OMBRIX_SIGN_CERT and OMBRIX_SIGN_PASSWORD to sign the module and the installer."
else
    echo "Module and installer signed with $OMBRIX_SIGN_CERT."
fi
