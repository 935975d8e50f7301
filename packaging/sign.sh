#!/usr/bin/env bash
# Signs a Windows program or package in place with osslsigncode (Authenticode, SHA-256) when
# REPLIMAR_SIGN_CERT (PEM or DER certificate chain) and REPLIMAR_SIGN_KEY (its private key) are
# set; otherwise leaves the file as it is.
#   REPLIMAR_SIGN_PASS       password of the key, when it has one. It reaches osslsigncode in a
#                            file only this user can read (-readpass), never on a command line,
#                            where every user of the machine could read it.
#   REPLIMAR_SIGN_TIMESTAMP  RFC 3161 time-stamp server (default below; empty: none). When the
#                            server cannot be reached (no network) the file is signed without
#                            a time stamp and a warning says so; any other failure, the
#                            server's included, stops the build with osslsigncode's own words.
set -euo pipefail
file=${1:?usage: sign.sh FILE}
cert=${REPLIMAR_SIGN_CERT:-} key=${REPLIMAR_SIGN_KEY:-}
if [ -z "$cert" ] && [ -z "$key" ]; then exit 0; fi
if [ -z "$cert" ] || [ -z "$key" ]; then
  echo "sign.sh: set both REPLIMAR_SIGN_CERT and REPLIMAR_SIGN_KEY, or neither" >&2
  exit 2
fi
timestamp=${REPLIMAR_SIGN_TIMESTAMP-http://timestamp.digicert.com}
name=$(basename "$file")
signed=$file.signed
work=$(umask 077 && mktemp -d)
trap 'rm -rf "$work" "$signed"' EXIT
args=(sign -certs "$cert" -key "$key" -h sha256 -n "Replimar KORVELL")
if [ -n "${REPLIMAR_SIGN_PASS:-}" ]; then
  # printf is a shell builtin: the password is in no process's arguments.
  (umask 077 && printf '%s' "$REPLIMAR_SIGN_PASS" >"$work/pass")
  args+=(-readpass "$work/pass")
fi

# sign_file [OPTION...]: osslsigncode's output goes to $work/log.
sign_file() {
  rm -f "$signed"
  timeout 120 osslsigncode "${args[@]}" "$@" -in "$file" -out "$signed" >"$work/log" 2>&1
}
# reachable URL: a TCP connection to the URL's host and port opens.
reachable() {
  local rest=${1#*://} port=80
  [[ $1 == https://* ]] && port=443
  local hostport=${rest%%/*}
  local host=${hostport%%:*}
  [[ $hostport == *:* ]] && port=${hostport##*:}
  # shellcheck disable=SC2016 # host and port expand in the inner shell
  timeout 15 bash -c 'exec 3<>"/dev/tcp/$0/$1"' "$host" "$port" 2>/dev/null
}
failed() {
  echo "sign.sh: signing $name failed:" >&2
  # osslsigncode's own message, without OpenSSL's stack of internal frames.
  sed -E 's/^(Enter .*pass phrase:)+//' "$work/log" | grep -vE '^[0-9A-F]+:error:|^\s*$' >&2 ||
    cat "$work/log" >&2
  exit 1
}

# Signing without a time stamp first tells a bad key, password or certificate (reported as
# such) from a time-stamp server that cannot be reached.
sign_file || failed
if [ -n "$timestamp" ]; then
  if sign_file -ts "$timestamp"; then :
  elif reachable "$timestamp"; then failed
  else
    echo "sign.sh: time-stamp server $timestamp not reached; $name signed without a time stamp" >&2
    sign_file || failed
  fi
fi
mv -f "$signed" "$file"
echo "signed $name"
