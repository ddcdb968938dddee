#!/bin/sh
# The signing hook with a throwaway self-signed certificate made here: the
# release's module and installer are signed and their signatures verify;
# without a certificate a file stays as it was and the hook says so; a wrong
# password fails and leaves the file alone; the password is on no command
# line; with SOURCE_DATE_EPOCH two signings give the same bytes.
# Usage: signing-test.sh SIGN_SCRIPT MODULE SETUP
set -eu
. "$(cd "$(dirname "$0")" && pwd)/release-checks.sh"
sign=$1 module=$2 setup=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
verified() { osslsigncode verify -CAfile cert.pem -in "$1" >"$1.verify" 2>&1; }

make_throwaway_certificate

cp "$module" unsigned.8ba
env -u OMBRIX_SIGN_CERT "$sign" unsigned.8ba 2>said.txt
check "without a certificate the file is unchanged" 'cmp -s "$module" unsigned.8ba'
check "without a certificate the hook says it is unsigned" 'grep -q "unsigned" said.txt'
check "an unsigned file does not verify" '! verified unsigned.8ba'

cp "$module" wrong.8ba
OMBRIX_SIGN_CERT=cert.pfx OMBRIX_SIGN_PASSWORD=wrong "$sign" wrong.8ba 2>/dev/null && status=0 || status=$?
check "a wrong password fails and leaves the file alone" '[ "$status" -ne 0 ] && cmp -s "$module" wrong.8ba'

# osslsigncode as seen by others: its arguments are recorded.
mkdir shim
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/arguments.txt"\nexec /usr/bin/osslsigncode "$@"\n' "$work" >shim/osslsigncode
chmod +x shim/osslsigncode
for copy in first.8ba second.8ba; do
    cp "$module" $copy
    PATH="$work/shim:$PATH" SOURCE_DATE_EPOCH=1700000000 OMBRIX_SIGN_CERT=cert.pfx OMBRIX_SIGN_PASSWORD=throwaway \
        "$sign" $copy 2>/dev/null || true
done
check "the password is on no command line" '[ -s arguments.txt ] && ! grep -q throwaway arguments.txt'
check "two signings at one SOURCE_DATE_EPOCH are byte-identical" 'verified first.8ba && cmp -s first.8ba second.8ba'

for file in "$module" "$setup"; do
    copy=signed-$(basename "$file")
    cp "$file" "$copy"
    OMBRIX_SIGN_CERT=cert.pfx OMBRIX_SIGN_PASSWORD=throwaway "$sign" "$copy" 2>/dev/null && status=0 || status=$?
    check "$(basename "$file") is signed" '[ "$status" -eq 0 ] && ! cmp -s "$file" "$copy"'
    check "$(basename "$file")'s signature verifies" 'verified "$copy" || { cat "$copy.verify"; false; }'
done

report_checks
echo "all checks passed"
