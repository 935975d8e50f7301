#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test rig need, only when missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb
      fonts-wine fonts-liberation imagemagick googletest libgtest-dev libbenchmark-dev
      clang libclang-rt-14-dev lld x11-utils zip python3 wixl msitools osslsigncode)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  if ! dpkg --print-foreign-architectures | grep -q i386; then :; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
