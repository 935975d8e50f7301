# Sourced by the run and test scripts: the private Wine prefix and the display.
# Never touches the user's own ~/.wine.
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Debian puts the 64-bit loader outside PATH when wine32 is not installed.
REPLIMAR_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
export REPLIMAR_WINE

# Starts Xvfb when there is no display; sets DISPLAY and REPLIMAR_XVFB_PID.
replimar_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    REPLIMAR_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    kill "$REPLIMAR_XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

# replimar_prepare_prefix PREFIX DPI [STANDIN_EXE]
# Creates the prefix once, sets the display scale, lets Wine draw captions (so a screenshot
# shows the title) and installs the stand-in of the mirroring tool into it.
replimar_prepare_prefix() {
  local prefix=$1 dpi=$2 standin=${3:-}
  export WINEPREFIX=$prefix
  if [ ! -f "$prefix/.replimar-ready" ]; then
    mkdir -p "$prefix"
    "$REPLIMAR_WINE" wineboot -i >/dev/null 2>&1
    "$REPLIMAR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$REPLIMAR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1
    "$REPLIMAR_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$REPLIMAR_WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v robocopy.exe /d native /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.replimar-ready"
  fi
  if [ -n "$standin" ] && [ -f "$standin" ]; then
    cp -f "$standin" "$prefix/drive_c/windows/system32/robocopy.exe"
  fi
}

# replimar_mark_test_prefix PREFIX
# Marks a private prefix as the tests' own: the tests that delete the tool's settings, remove
# C:\TMP or end every robocopy.exe refuse to run anywhere without this marker (a real user's
# Windows account never has it).
replimar_mark_test_prefix() {
  local marker="$1/drive_c/windows/replimar-test-prefix.txt"
  [ -f "$marker" ] || printf 'Private Wine prefix of the Replimar KORVELL tests.\r\n' >"$marker"
  # Wine links the profile's Desktop, Documents, ... to the Unix home folder. Tests mirror from
  # and into drive C's folders and count its files: the test prefix gets folders of its own.
  find "$1/drive_c/users" -type l -print0 | while IFS= read -r -d '' link; do
    rm -f "$link" && mkdir -p "$link"
  done
}

# replimar_map_test_drive PREFIX LETTER
# Maps a drive letter of the prefix to a small folder of its own (PREFIX/drive_LETTER), so that
# tests can mirror from and into a drive root without touching drive C's.
replimar_map_test_drive() {
  local prefix=$1 letter=$2
  mkdir -p "$prefix/drive_$letter"
  ln -sfn "../drive_$letter" "$prefix/dosdevices/$letter:"
}
