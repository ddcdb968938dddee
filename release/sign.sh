#!/bin/sh
# Signs one Windows file in place with osslsigncode when a code-signing
# certificate is given; says that it stays unsigned otherwise.
#   OMBRIX_SIGN_CERT       the certificate with its private key, a PKCS#12 file (.pfx / .p12)
#   OMBRIX_SIGN_PASSWORD   its password (may be empty); handed to osslsigncode
#                          on its standard input, never on a command line
#                          that other users can list
#   OMBRIX_SIGN_TIMESTAMP  optional: URL of an RFC 3161 time-stamping service
#   SOURCE_DATE_EPOCH      optional: the signing time, so that two signings
#                          of one file give the same bytes
# Usage: sign.sh FILE [NAME]   (NAME: what to call the file in messages)
set -eu
file=$1
name=${2:-${file##*/}}
if [ -z "${OMBRIX_SIGN_CERT:-}" ]; then
    echo "sign: OMBRIX_SIGN_CERT is not set: $name is unsigned" >&2
    exit 0
fi
if [ ! -r "$OMBRIX_SIGN_CERT" ]; then
    echo "sign: OMBRIX_SIGN_CERT names $OMBRIX_SIGN_CERT, which cannot be read from $(pwd)" >&2
    exit 1
fi
command -v osslsigncode >/dev/null || { echo "sign: osslsigncode is missing: run scripts/install-packages.sh" >&2; exit 1; }
signed="$file.signed"
rm -f "$signed"
set -- -pkcs12 "$OMBRIX_SIGN_CERT" -readpass - -h sha256 -n "Ombrix Import" -in "$file" -out "$signed"
[ -z "${OMBRIX_SIGN_TIMESTAMP:-}" ] || set -- -ts "$OMBRIX_SIGN_TIMESTAMP" "$@"
[ -z "${SOURCE_DATE_EPOCH:-}" ] || set -- -time "$SOURCE_DATE_EPOCH" "$@"
# printf is the shell's own: the password is in no process's arguments.
if ! printf '%s' "${OMBRIX_SIGN_PASSWORD:-}" | osslsigncode sign "$@" >"$signed.log" 2>&1; then
    cat "$signed.log" >&2
    rm -f "$signed" "$signed.log"
    echo "sign: signing $name failed" >&2
    exit 1
fi
rm -f "$signed.log"
mv "$signed" "$file"
echo "sign: $name signed with $OMBRIX_SIGN_CERT" >&2
