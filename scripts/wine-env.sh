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

# The test rig's file server (tests/rig/slowfs.c): a FUSE file system over RIG/backing that
# answers late or not at all as RIG/control says, mounted on RIG/mnt and linked into a prefix as
# drive N: and as the share \\nas\videos. Built natively with the system's C compiler.
replimar_build_slowfs() { # RIG
  local source
  source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/rig/slowfs.c
  mkdir -p "$1"
  if [ ! -x "$1/slowfs" ] || [ "$source" -nt "$1/slowfs" ]; then
    cc -O2 -Wall -Wextra $(pkg-config --cflags fuse3) "$source" -o "$1/slowfs" \
      $(pkg-config --libs fuse3)
  fi
}

# replimar_mount_file_server PREFIX RIG
# Mounts the file server (after unmounting what an aborted run may have left) and links it into
# the prefix. Without /dev/fuse it says so and mounts nothing: the tests that need it skip.
# Wine finds \\SERVER\SHARE at dosdevices/unc/SERVER/SHARE, and where dosdevices/unc is a plain
# folder it makes a new "server" there for a path such as \\absent\share\folder. So unc is a
# second, read-only mount of the same program: RIG/unc/nas/videos links to the file server, and
# nothing can be made beside it.
replimar_mount_file_server() {
  local prefix=$1 rig=$2
  replimar_unmount_file_server "$prefix" "$rig"
  if [ ! -c /dev/fuse ]; then
    echo "file-server rig: no /dev/fuse on this machine: the file-server tests are SKIPPED" >&2
    return 0
  fi
  replimar_build_slowfs "$rig"
  mkdir -p "$rig/backing" "$rig/unc/nas"
  ln -sfn "$rig/mnt" "$rig/unc/nas/videos"
  : >"$rig/control"
  replimar_slowfs_mount "$rig" backing control mnt rw || return 1
  # Its control file is never written: the shares' names always answer, their folders are the
  # file server's.
  replimar_slowfs_mount "$rig" unc unc-control unc-mnt ro || return 1
  ln -sfn "$rig/mnt" "$prefix/dosdevices/n:"
  # A folder left there by an earlier rig, or by a test run without one.
  [ -L "$prefix/dosdevices/unc" ] || rm -rf "$prefix/dosdevices/unc"
  ln -sfn "$rig/unc-mnt" "$prefix/dosdevices/unc"
}

# replimar_slowfs_mount RIG BACKING CONTROL MOUNT MODE: one mount of the file system, named by
# the folders and files of RIG; in front (-f), so that its process is this shell's child and its
# id is known (RIG/MOUNT.pid).
replimar_slowfs_mount() {
  local rig=$1 backing=$2 control=$3 mount=$4 mode=$5 _
  mkdir -p "$rig/$mount"
  "$rig/slowfs" "$rig/$backing" "$rig/$control" "$rig/$mount" -f \
    -o "$mode,attr_timeout=0,entry_timeout=0,negative_timeout=0,fsname=replimar-slowfs" \
    >"$rig/$mount.log" 2>&1 &
  echo $! >"$rig/$mount.pid"
  for _ in $(seq 1 50); do
    grep -qs " $rig/$mount fuse" /proc/mounts && return 0
    sleep 0.1
  done
  echo "file-server rig: cannot mount $rig/$mount:" >&2
  cat "$rig/$mount.log" >&2
  return 1
}

# replimar_unmount_file_server PREFIX RIG
# Unlinks and unmounts the file server, and ends its processes; harmless when nothing is
# mounted. End the prefix's Wine processes first: a file they hold open keeps a mount busy.
replimar_unmount_file_server() {
  local prefix=$1 rig=$2 mount
  rm -f "$prefix/dosdevices/n:"
  [ ! -L "$prefix/dosdevices/unc" ] || rm -f "$prefix/dosdevices/unc"
  for mount in unc-mnt mnt; do
    replimar_slowfs_unmount "$rig" "$mount"
  done
}

replimar_slowfs_unmount() { # RIG MOUNT
  local mnt=$1/$2 pidfile=$1/$2.pid pid _
  # A mount whose process died answers nothing, not even stat ("not connected").
  if grep -qs " $mnt fuse" /proc/mounts; then
    fusermount3 -u "$mnt" 2>/dev/null || fusermount3 -uz "$mnt" 2>/dev/null ||
      umount -l "$mnt" 2>/dev/null || true
  fi
  pid=$(cat "$pidfile" 2>/dev/null) || return 0
  rm -f "$pidfile"
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = slowfs ] || return 0
  for _ in $(seq 1 20); do
    [ -d "/proc/$pid" ] || return 0
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
}
