#!/usr/bin/env bash
# The package's optional signing step: with a throw-away self-signed certificate the program
# inside the package and the package itself carry a valid SHA-256 Authenticode signature from
# that certificate (osslsigncode's own verification, the certificate as the trusted root), with
# the time stamp skipped when the server cannot be reached; without a certificate both stay
# unsigned and the program in the package is the build's own.
#   signing_test.sh EXE ICON WORKDIR
set -euo pipefail
exe=$1 icon=$2 work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
build_msi=$root/packaging/build-msi.sh
rm -rf "$work"
mkdir -p "$work"
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect_line FILE TEXT: FILE has a line with TEXT.
expect_line() { grep -qF -- "$2" "$1" || fail "$(basename "$1") lacks \"$2\""; }

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 1 -subj "/CN=Replimar KORVELL Test Signing" \
  -keyout key.pem -out cert.pem 2>/dev/null

# Signed, with a time-stamp server that refuses at once: as without network.
REPLIMAR_SIGN_CERT=$PWD/cert.pem REPLIMAR_SIGN_KEY=$PWD/key.pem \
REPLIMAR_SIGN_TIMESTAMP=http://127.0.0.1:9/ \
  "$build_msi" "$exe" "$icon" 1.0.0.0 signed.msi >build-signed.txt 2>&1 ||
  { cat build-signed.txt; fail "signed build"; }
expect_line build-signed.txt "without a time stamp"
mkdir signed && msiextract -C signed signed.msi >/dev/null
signed_exe="signed/Programs/Replimar KORVELL/ReplimarKORVELL.exe"
[ -f "$signed_exe" ] || fail "no program in the signed package"
for f in signed.msi "$signed_exe"; do
  out=verify-$(basename "$f").txt
  osslsigncode verify -CAfile cert.pem -in "$f" >"$out" 2>&1 || fail "verify $f: $(tail -3 "$out")"
  expect_line "$out" "Signature verification: ok"
  expect_line "$out" "Number of verified signatures: 1"
  expect_line "$out" "Subject: /CN=Replimar KORVELL Test Signing"
  expect_line "$out" "Message digest algorithm: SHA256"
  expect_line "$out" "Text description: Replimar KORVELL"
  expect_line "$out" "Timestamp is not available"
done
# A wrong root is refused: the check above really checks the chain.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Someone Else" \
  -keyout other-key.pem -out other.pem 2>/dev/null
if osslsigncode verify -CAfile other.pem -in signed.msi >verify-other.txt 2>&1; then
  fail "a signature verified against a certificate that did not make it"
fi

# Half a configuration is an error, not a silent unsigned build.
if REPLIMAR_SIGN_CERT=$PWD/cert.pem "$build_msi" "$exe" "$icon" 1.0.0.0 half.msi >half.txt 2>&1; then
  fail "a certificate without a key was accepted"
fi

# Unsigned: no signature anywhere, the program is the build's own.
env -u REPLIMAR_SIGN_CERT -u REPLIMAR_SIGN_KEY \
  "$build_msi" "$exe" "$icon" 1.0.0.0 plain.msi >build-plain.txt 2>&1 ||
  { cat build-plain.txt; fail "unsigned build"; }
mkdir plain && msiextract -C plain plain.msi >/dev/null
plain_exe="plain/Programs/Replimar KORVELL/ReplimarKORVELL.exe"
cmp -s "$plain_exe" "$exe" || fail "the unsigned package does not carry the build's program"
for f in plain.msi "$plain_exe"; do
  out=verify-plain-$(basename "$f").txt
  osslsigncode verify -in "$f" >"$out" 2>&1 && fail "$f verified without a signature"
  grep -qE "No signature found|has no signature" "$out" || fail "$out: $(head -1 "$out")"
  expect_line "$out" "Unable to extract existing signature"
done

[ "$failures" -eq 0 ] && echo "signing: all checks passed"
exit $((failures > 0))
