#!/usr/bin/env bash
# Installs what is missing, checks the sources' format, builds everything and runs every test:
#   1. the pure logic natively, with AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. the Windows build (MinGW-w64): the same pure tests, the Win32 shell tests and the
#      end-to-end tests of the real program, under Wine in private prefixes on Xvfb;
#      the Windows Installer package: installed, upgraded and removed under Wine in a fresh
#      prefix, and its signing step;
#   3. (before the tests under Wine) the same Windows program and test programs built again
#      with clang and lld, warnings as errors: a second compiler; its programs are not run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"
jobs=$(nproc)
# Each step's start time, so a slow step shows in the CI log.
step() { echo "== $* ($(date +%T))"; }

step "format (.clang-format)"
find main ui widgets funcoes wine-standin tests bench \( -name '*.h' -o -name '*.cpp' \) -print0 |
  xargs -0 clang-format --dry-run -Werror

step "native build (sanitizers)"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

step "Windows build (MinGW-w64)"
cmake --preset mingw >/dev/null
cmake --build build/mingw -j"$jobs"

step "Windows build with clang (second compiler, warnings as errors)"
cmake --preset mingw-clang >/dev/null
cmake --build build/clang -j"$jobs"

. "$root/scripts/wine-env.sh"
replimar_ensure_display
rig=$root/build/mingw/file-server
cleanup() {
  for p in build/mingw/wineprefix build/mingw/wineprefix-144 build/mingw/wineprefix-msi; do
    WINEPREFIX="$root/$p" wineserver -k 2>/dev/null || true
  done
  replimar_unmount_file_server "$root/build/mingw/wineprefix" "$rig"
  [ -n "${REPLIMAR_XVFB_PID:-}" ] && kill "$REPLIMAR_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
standin=$root/build/mingw/wine-standin/robocopy.exe
replimar_prepare_prefix "$root/build/mingw/wineprefix" 96 "$standin"
replimar_prepare_prefix "$root/build/mingw/wineprefix-144" 144 "$standin"
replimar_mark_test_prefix "$root/build/mingw/wineprefix"
replimar_mark_test_prefix "$root/build/mingw/wineprefix-144"
replimar_map_test_drive "$root/build/mingw/wineprefix" q
# The slow file server of the end-to-end tests, as drive N: and \\nas\videos (skipped, and
# said so, where there is no /dev/fuse).
replimar_mount_file_server "$root/build/mingw/wineprefix" "$rig"
# The package is installed as on a PC that never had it.
rm -rf "$root/build/mingw/wineprefix-msi"
replimar_prepare_prefix "$root/build/mingw/wineprefix-msi" 96
replimar_mark_test_prefix "$root/build/mingw/wineprefix-msi"

step "tests under Wine"
ctest --test-dir build/mingw --output-on-failure ${REPLIMAR_CTEST_ARGS:-}
step "done"
