#!/usr/bin/env bash
# Runs one Windows program of the build under Wine in the project's private prefix.
# CTest uses it as the emulator of the cross build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
prefix=${REPLIMAR_WINEPREFIX:?REPLIMAR_WINEPREFIX names the private prefix}
[ -f "$prefix/.replimar-ready" ] || { echo "prefix $prefix is not prepared" >&2; exit 2; }
export WINEPREFIX=$prefix
replimar_ensure_display
rc=0
"$REPLIMAR_WINE" "$@" || rc=$?
# Whatever the program left running in the prefix (a tool left mirroring on purpose, a console
# host) holds the output CTest reads: ending the prefix's processes lets the test end with it.
wineserver -k 2>/dev/null || true
[ -n "${REPLIMAR_XVFB_PID:-}" ] && kill "$REPLIMAR_XVFB_PID" 2>/dev/null
exit $rc
