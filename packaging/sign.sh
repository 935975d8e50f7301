#!/usr/bin/env bash
# Signs a Windows program or package in place with osslsigncode (Authenticode, SHA-256) when
# REPLIMAR_SIGN_CERT (PEM or DER certificate chain) and REPLIMAR_SIGN_KEY (its private key) are
# set; otherwise leaves the file as it is.
#   REPLIMAR_SIGN_PASS       password of the key, when it has one
#   REPLIMAR_SIGN_TIMESTAMP  RFC 3161 time-stamp server (default below; empty: none). When the
#                            server cannot be reached (no network) the file is signed without
#                            a time stamp and a warning says so.
set -euo pipefail
file=${1:?usage: sign.sh FILE}
cert=${REPLIMAR_SIGN_CERT:-} key=${REPLIMAR_SIGN_KEY:-}
if [ -z "$cert" ] && [ -z "$key" ]; then exit 0; fi
if [ -z "$cert" ] || [ -z "$key" ]; then
  echo "sign.sh: set both REPLIMAR_SIGN_CERT and REPLIMAR_SIGN_KEY, or neither" >&2
  exit 2
fi
timestamp=${REPLIMAR_SIGN_TIMESTAMP-http://timestamp.digicert.com}
args=(sign -certs "$cert" -key "$key" -h sha256 -n "Replimar KORVELL")
[ -n "${REPLIMAR_SIGN_PASS:-}" ] && args+=(-pass "$REPLIMAR_SIGN_PASS")
signed=$file.signed
rm -f "$signed"
if [ -n "$timestamp" ] &&
   timeout 60 osslsigncode "${args[@]}" -ts "$timestamp" -in "$file" -out "$signed" >/dev/null 2>&1; then
  :
else
  [ -n "$timestamp" ] && echo "sign.sh: time-stamp server $timestamp not reached; signing $(basename "$file") without a time stamp" >&2
  rm -f "$signed"
  osslsigncode "${args[@]}" -in "$file" -out "$signed" >/dev/null
fi
mv -f "$signed" "$file"
echo "signed $(basename "$file")"
