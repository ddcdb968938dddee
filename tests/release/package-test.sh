#!/bin/sh
# scripts/package.sh run twice on one commit, signing with a throwaway
# certificate given by a relative path as the README writes it: both runs
# give byte-identical files, the signatures verify, the checksums hold, the
# zips carry the commit's time, and the run names the host executable the
# installer looks for. A last unsigned run leaves the build's release as the
# build makes it, and its zips hold each architecture's module as built.
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
report_checks
echo "all checks passed"
