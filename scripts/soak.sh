#!/usr/bin/env bash
# The soak test: the real program follows the stand-in of the mirroring tool for 10 minutes
# (REPLIMAR_SOAK_SECONDS) while the source keeps changing; prints handle, GDI object and private
# memory figures at the start and the end. Not part of test.sh or CI.
#   scripts/soak.sh [BUILD_DIR]       (default: build/mingw; its prefix is BUILD_DIR/wineprefix-soak)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/mingw}
mkdir -p "$build" && build=$(cd "$build" && pwd)
. "$root/scripts/wine-env.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j"${REPLIMAR_JOBS:-2}" --target replimar_e2e_tests >/dev/null
replimar_ensure_display
prefix=$build/wineprefix-soak
replimar_prepare_prefix "$prefix" 96 "$build/wine-standin/robocopy.exe"
replimar_mark_test_prefix "$prefix"
# Wine answers zeros for another process's handle, GDI and memory figures; the Linux side of the
# program's process tells its resident and data memory and its open descriptors instead.
sample() {
  while sleep 20; do
    pid=$(pgrep -f 'main.ReplimarKORVELL.exe' | head -n 1) || continue
    [ -r "/proc/$pid/status" ] || continue
    printf '[soak-linux] %s s: %s, %s, fds %s\n' "$SECONDS" \
      "$(grep VmRSS "/proc/$pid/status" | tr -s ' \t' ' ')" \
      "$(grep VmData "/proc/$pid/status" | tr -s ' \t' ' ')" "$(ls "/proc/$pid/fd" | wc -l)"
  done
}
sample &
sampler=$!
status=0
WINEPREFIX=$prefix "$REPLIMAR_WINE" "$build/tests/replimar_e2e_tests.exe" --gtest_color=no \
  --gtest_also_run_disabled_tests --gtest_filter='Soak.*' || status=$?
kill "$sampler" 2>/dev/null || true
WINEPREFIX=$prefix wineserver -k || true
[ -n "${REPLIMAR_XVFB_PID:-}" ] && kill "$REPLIMAR_XVFB_PID" 2>/dev/null || true
exit $status
