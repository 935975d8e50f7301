#!/usr/bin/env bash
# The package's optional signing step: with a throw-away self-signed certificate the program
# inside the package and the package itself carry a valid SHA-256 Authenticode signature from
# that certificate (osslsigncode's own verification, the certificate as the trusted root), with
# the time stamp skipped when the server cannot be reached; a key's password reaches
# osslsigncode in a file of the builder's own, never on a command line; a wrong password or a
# time-stamp server that answers with an error stops the build, saying what failed; without a
# certificate both stay unsigned and the program in the package is the build's own.
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

# A key with a password. A stand-in osslsigncode first on PATH records the arguments of each
# call and the mode of the file -readpass names, then runs the real one.
openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -subj "/CN=Replimar KORVELL Test Signing" \
  -passout pass:Pw-9fK2-secret -keyout locked-key.pem -out locked-cert.pem 2>/dev/null
mkdir bin
cat >bin/osslsigncode <<'WRAPPER'
#!/usr/bin/env bash
log=$(dirname "$0")/..
printf '%s\n' "$*" >>"$log/osslsigncode-calls.txt"
prev=
for arg in "$@"; do
  if [ "$prev" = -readpass ]; then
    stat -c '%a %U' "$arg" >>"$log/readpass-modes.txt"
    printf '%s\n' "$arg" >>"$log/readpass-files.txt"
  fi
  prev=$arg
done
exec "$REAL_OSSLSIGNCODE" "$@"
WRAPPER
chmod +x bin/osslsigncode
touch osslsigncode-calls.txt readpass-modes.txt readpass-files.txt
with_password() {
  PATH=$PWD/bin:$PATH REAL_OSSLSIGNCODE=$(command -v osslsigncode) \
    REPLIMAR_SIGN_CERT=$PWD/locked-cert.pem REPLIMAR_SIGN_KEY=$PWD/locked-key.pem \
    REPLIMAR_SIGN_TIMESTAMP='' REPLIMAR_SIGN_PASS=$1 "$build_msi" "$exe" "$icon" 1.0.0.0 "$2"
}
with_password Pw-9fK2-secret locked.msi >build-locked.txt 2>&1 ||
  { cat build-locked.txt; fail "build with the key's password"; }
osslsigncode verify -CAfile locked-cert.pem -in locked.msi >verify-locked.txt 2>&1 ||
  fail "verify locked.msi: $(tail -3 verify-locked.txt)"
[ "$(grep -c ' -readpass ' osslsigncode-calls.txt)" -eq 2 ] ||
  fail "the program and the package are not both signed with -readpass"
grep -q 'Pw-9fK2-secret' osslsigncode-calls.txt && fail "the password was on osslsigncode's command line"
grep -q -- '-pass ' osslsigncode-calls.txt && fail "-pass used"
sort -u readpass-modes.txt | grep -qvx "600 $(id -un)" && fail "password file not private: $(sort -u readpass-modes.txt)"
while read -r f; do [ -e "$f" ] && fail "password file left behind: $f"; done <readpass-files.txt

# A wrong password stops the build with osslsigncode's reason; no package comes out of it.
if with_password wrong-password wrong.msi >build-wrong.txt 2>&1; then
  fail "a wrong password was accepted"
fi
expect_line build-wrong.txt "sign.sh: signing ReplimarKORVELL.exe failed"
expect_line build-wrong.txt "Wrong password?"
grep -q "time stamp" build-wrong.txt && fail "a wrong password reported as a time-stamp problem"
[ -e wrong.msi ] && fail "a package came out of a failed signing"

# A time-stamp server that answers, but with an error, is no missing network: the build stops.
python3 -c 'import http.server as h
s = h.HTTPServer(("127.0.0.1", 0), h.BaseHTTPRequestHandler)
print(s.server_address[1], flush=True)
s.serve_forever()' >tsa-port.txt 2>/dev/null &
tsa=$!
trap 'kill "$tsa" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s tsa-port.txt ] && break; sleep 0.1; done
if REPLIMAR_SIGN_CERT=$PWD/cert.pem REPLIMAR_SIGN_KEY=$PWD/key.pem \
   REPLIMAR_SIGN_TIMESTAMP=http://127.0.0.1:$(cat tsa-port.txt)/ \
   "$build_msi" "$exe" "$icon" 1.0.0.0 refused.msi >build-refused.txt 2>&1; then
  fail "a time-stamp server's error was taken for success"
fi
expect_line build-refused.txt "sign.sh: signing ReplimarKORVELL.exe failed"
expect_line build-refused.txt "timestamping failed"
grep -q "without a time stamp" build-refused.txt && fail "a server's error taken for a missing network"
kill "$tsa" 2>/dev/null || true

# A certificate that is not there is reported as what it is, not as a missing network.
if REPLIMAR_SIGN_CERT=$PWD/no-such-cert.pem REPLIMAR_SIGN_KEY=$PWD/key.pem \
   REPLIMAR_SIGN_TIMESTAMP=http://127.0.0.1:9/ \
   "$build_msi" "$exe" "$icon" 1.0.0.0 nocert.msi >build-nocert.txt 2>&1; then
  fail "a missing certificate was accepted"
fi
expect_line build-nocert.txt "sign.sh: signing ReplimarKORVELL.exe failed"
grep -q "time-stamp server" build-nocert.txt && fail "a missing certificate reported as a time-stamp problem"

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
