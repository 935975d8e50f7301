#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine, in the
# project's private prefix (with the stand-in of the mirroring tool installed there).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset mingw >/dev/null
cmake --build build/mingw -j"$(nproc)" --target ReplimarKORVELL robocopy-standin
. "$root/scripts/wine-env.sh"
replimar_ensure_display
replimar_prepare_prefix "$root/build/mingw/wineprefix-run" "${REPLIMAR_DPI:-96}" \
  "$root/build/mingw/wine-standin/robocopy.exe"
echo "DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
exec "$REPLIMAR_WINE" "$root/build/mingw/main/ReplimarKORVELL.exe"
