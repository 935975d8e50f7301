#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test rig need, only when missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb
      fonts-wine fonts-liberation imagemagick googletest libgtest-dev libbenchmark-dev
      clang clang-format libclang-rt-14-dev lld x11-utils zip python3 wixl msitools osslsigncode
      fuse3 libfuse3-dev pkg-config)
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
# The stand-in's OEM mode is followed by the program in a Portuguese locale (OEM code page 850):
# Wine takes its code pages from the Unix locale, which glibc must know.
if ! locale -a 2>/dev/null | grep -qi '^pt_BR\.utf-\?8$'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q 'install ok installed' ||
    { $SUDO apt-get update -qq; DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq locales; }
  $SUDO localedef -i pt_BR -f UTF-8 pt_BR.UTF-8
fi
