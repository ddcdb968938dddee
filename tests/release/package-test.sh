#!/bin/sh
# scripts/package.sh on a build folder configured to accept older library
# sources, as the tests' and the demo's are: without OMBRIX_DEPS_ACCEPT_OLDER=1
# it stops and names every library it cannot get at the version apt lists.
# Then run twice on one commit, signing with a throwaway certificate given by
# a relative path as the README writes it: both runs give byte-identical
# files, the signatures verify, the checksums hold, the zips carry the
# commit's time, and the run names the host executable the installer looks
# for and the older library versions it ships. A last unsigned run leaves the
# build's release as the build makes it, and its zips hold each
# architecture's module as built; the same module built in another build
# folder, by a plain build without SOURCE_DATE_EPOCH, is byte-identical.
# Usage: package-test.sh BUILD
set -eu
. "$(cd "$(dirname "$0")" && pwd)/release-checks.sh"
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
# This build's libraries are whatever the tests were built with.
OMBRIX_DEPS_ACCEPT_OLDER=${OMBRIX_DEPS_ACCEPT_OLDER:-1}
export OMBRIX_DEPS_ACCEPT_OLDER
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

make_throwaway_certificate

# "PACKAGE LISTED" for each library this build has older than apt lists.
used=$(sed -n 's/^OMBRIX_FREEIMAGE_USED:INTERNAL=//p' "$build/win32/CMakeCache.txt")
older=$(sed -n 's/^listed //p' "$used/versions.txt")
if [ -n "$older" ]; then
    OMBRIX_DEPS_ACCEPT_OLDER='' OMBRIX_RELEASE_OUT="$work/refused" "$root/scripts/package.sh" "$build" >refused.log 2>&1 &&
        status=0 || status=$?
    check "without OMBRIX_DEPS_ACCEPT_OLDER=1 the release stops (got $status)" '[ "$status" -ne 0 ] && [ ! -e refused ]'
    printf '%s\n' "$older" | while read -r package listed; do
        grep -qF "$package $listed" refused.log || echo "FAIL it names $package $listed"
    done | grep . && failures=$((failures + 1))
fi

for run in 1 2; do
    OMBRIX_SIGN_CERT=cert.pfx OMBRIX_SIGN_PASSWORD=throwaway OMBRIX_RELEASE_OUT="$work/out$run" \
        "$root/scripts/package.sh" "$build" >"run$run.log" 2>&1 || { tail -n 30 "run$run.log"; exit 1; }
done
check "the release has an installer, a zip, the notices and checksums" \
    '[ -n "$(ls out1/*-setup.exe out1/*-win32.zip out1/THIRD-PARTY-NOTICES.txt out1/SHA256SUMS 2>/dev/null | sed -n 4p)" ]'
check "both runs wrote the same files" '[ "$(ls out1)" = "$(ls out2)" ]'
for file in out1/*; do
    check "$(basename "$file") is byte-identical in both runs" 'cmp -s "$file" "out2/${file#out1/}"'
done
check "the checksums hold" '(cd out1 && sha256sum -c --quiet SHA256SUMS)'
check "the installer is signed with the relative certificate" \
    'osslsigncode verify -CAfile cert.pem -in out1/*-setup.exe >/dev/null 2>&1'
epoch=$(git -C "$root" log -1 --format=%ct)
# A zip keeps times in steps of two seconds, rounded up.
want=$(TZ=UTC date -d "@$(( (epoch + 1) / 2 * 2 ))" +%Y%m%d.%H%M%S)
for zip in out1/*.zip; do
    check "$(basename "$zip"): every entry carries the commit's time" \
        '[ "$(zipinfo -T "$zip" | grep -c "^-")" -gt 0 ] && [ "$(TZ=UTC zipinfo -T "$zip" | grep "^-" | grep -vc " $want")" -eq 0 ]'
    unzip -q -o "$zip" -d unpacked
done
check "the zipped 32-bit module is signed" \
    'osslsigncode verify -CAfile cert.pem -in unpacked/*-win32/OmbrixImport.8ba >/dev/null 2>&1'
check "the run names the host executable the installer looks for" \
    'grep -q "looks for the host.s executable $(sed -n "s/^OMBRIX_HOST_EXECUTABLE:STRING=//p" "$build/win32/CMakeCache.txt") " run1.log'
printf '%s\n' "$older" | while read -r package listed; do
    [ -z "$package" ] || grep -q "^  $package .* (apt lists $listed" run1.log || echo "FAIL the summary names the older $package"
done | grep . && failures=$((failures + 1))
if [ -f "$build/win64/bin/OmbrixImport.8ba" ]; then
    check "with a 64-bit build the release has a win64 zip" '[ -f out1/*-win64.zip ]'
fi
OMBRIX_RELEASE_OUT="$work/unsigned" "$root/scripts/package.sh" "$build" >/dev/null 2>&1 </dev/null ||
    { echo "FAIL the unsigned run"; failures=$((failures + 1)); }
# Unsigned, each zip's module is its own tree's, byte for byte: a zip made
# for one host never carries the module of the other.
for zip in unsigned/*.zip; do
    arch=${zip%.zip}
    arch=${arch##*-}
    rm -rf unpacked && unzip -q "$zip" -d unpacked
    check "$(basename "$zip") holds the $arch tree's module" \
        'cmp -s unpacked/*/OmbrixImport.8ba "$build/$arch/bin/OmbrixImport.8ba"'
done

# stamp FILE: a program's PE time stamp.
stamp() {
    header=$(od -An -tu4 -j 60 -N4 "$1" | tr -d ' ')
    od -An -tu4 -j $((header + 8)) -N4 "$1" | tr -d ' '
}
other=$work/other-build
generator=""
command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
# shellcheck disable=SC2086
{ cmake -S "$root" -B "$other" $generator -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release && env -u SOURCE_DATE_EPOCH cmake --build "$other" --target OmbrixImport; } \
    >other.log 2>&1 || { tail -n 30 other.log; echo "FAIL the build in another folder"; failures=$((failures + 1)); }
check "a module built in another build folder is the release's, byte for byte" \
    'cmp -s "$other/bin/OmbrixImport.8ba" "$build/win32/bin/OmbrixImport.8ba"'
check "its time stamp is the commit's time" '[ "$(stamp "$other/bin/OmbrixImport.8ba")" = "$epoch" ]'
report_checks
echo "all checks passed"
