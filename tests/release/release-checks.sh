# Shared by the release tests, sourced from a scratch folder they work in:
# named checks that count failures, a throwaway code-signing certificate
# (cert.pem, key.pem and cert.pfx with the password "throwaway") and the
# tally at the end.
failures=0
check() {  # check NAME EXPRESSION
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
make_throwaway_certificate() {
    openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
        -subj "/CN=Ombrix test signer" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
    openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout pass:throwaway
}
report_checks() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
}
