#!/usr/bin/env bash
# Runs chosen tests of one Windows test program under Wine, in the same private prefix and on
# the same kind of display as scripts/test.sh, after building what they need:
#   scripts/e2e.sh 'FieldSafety.*:DriveRoots.*'            # end-to-end tests (default program)
#   scripts/e2e.sh 'RegistryValue*' replimar_win_tests      # Win32 shell tests
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
filter=${1:-*}
program=${2:-replimar_e2e_tests}
"$root/scripts/install-deps.sh"
[ -f build/mingw/CMakeCache.txt ] || cmake --preset mingw >/dev/null
cmake --build build/mingw -j"$(nproc)" --target "$program" >/dev/null
# The big trees of the end-to-end tests, made once (the CTest fixture replimar_big_trees).
[ "$program" != replimar_e2e_tests ] || python3 tests/helpers/make_big_trees.py build/mingw/big-trees
. "$root/scripts/wine-env.sh"
replimar_ensure_display
prefix=$root/build/mingw/wineprefix
rig=$root/build/mingw/file-server
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  replimar_unmount_file_server "$prefix" "$rig"
  [ -n "${REPLIMAR_XVFB_PID:-}" ] && kill "$REPLIMAR_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
replimar_prepare_prefix "$prefix" 96 "$root/build/mingw/wine-standin/robocopy.exe"
replimar_mark_test_prefix "$prefix"
replimar_map_test_drive "$prefix" q
# The slow file server of the end-to-end tests, as drive N: and \\nas\videos.
[ "$program" != replimar_e2e_tests ] || replimar_mount_file_server "$prefix" "$rig"
export REPLIMAR_WINEPREFIX=$prefix
"$REPLIMAR_WINE" "build/mingw/tests/$program.exe" --gtest_filter="$filter" --gtest_color=no
